# Media made at build time from GStreamer's own test sources and encoders, so that nothing is
# downloaded and every machine plays the same files. Ninja remakes a file only when its command
# line changes (or a file it is made from does).
#
#   demo_media  demo.mkv, the clip that scripts/run plays when given no medium
#   test_media  the clips that the tests assert on (with VANTREL_TESTS); their facts are in
#               tests/support/test_media.h

find_program(VANTREL_GST_LAUNCH gst-launch-1.0 REQUIRED)
find_program(VANTREL_PERL perl REQUIRED)
set(VANTREL_MEDIA_DIR ${CMAKE_BINARY_DIR}/media)
file(MAKE_DIRECTORY ${VANTREL_MEDIA_DIR})

# vantrel_gst_media(<file> <pipeline element>... [DEPENDS <file>...])
# Writes through a part file that is renamed at the end, so a failed run leaves nothing that looks
# finished. The pipeline names its file sink's location as @OUT@; files that it reads go after
# DEPENDS, and into the pipeline by their full paths, quoted.
function(vantrel_gst_media file)
  cmake_parse_arguments(PARSE_ARGV 1 M "" "" "DEPENDS")
  set(out ${VANTREL_MEDIA_DIR}/${file})
  set(part ${out}.part)
  list(TRANSFORM M_UNPARSED_ARGUMENTS REPLACE "@OUT@" "\"${part}\"")
  add_custom_command(OUTPUT ${out}
    COMMAND ${VANTREL_GST_LAUNCH} -q ${M_UNPARSED_ARGUMENTS}
    COMMAND ${CMAKE_COMMAND} -E rename ${part} ${out}
    DEPENDS ${M_DEPENDS}
    COMMENT "Making media ${file}"
    VERBATIM)
endfunction()

# Pieces of the recipes below. Audio comes in buffers of 1/100 s so that a count of buffers is an
# exact length; x264 gets I420 so that every H.264 decoder takes the result. voaacenc, unlike
# libav's AAC encoder, does not lengthen the audio by its priming samples.
set(_tone audiotestsrc wave=sine freq=440 volume=0.2 samplesperbuffer=441)
set(_pcm audio/x-raw,format=S16LE,rate=44100,channels=2)
set(_bars videotestsrc pattern=smpte)
set(_h264 x264enc speed-preset=ultrafast key-int-max=15 ! h264parse)

vantrel_gst_media(demo.mkv
  videotestsrc pattern=ball background-color=0xff102040 num-buffers=300
    ! video/x-raw,format=I420,width=640,height=360,framerate=30/1
    ! ${_h264} ! queue ! matroskamux name=mux ! filesink location=@OUT@
  ${_tone} num-buffers=1000 ! ${_pcm} ! audioconvert ! voaacenc ! aacparse ! queue ! mux.)
add_custom_target(demo_media ALL DEPENDS ${VANTREL_MEDIA_DIR}/demo.mkv)

if(NOT VANTREL_TESTS)
  return()
endif()

set(_qvga video/x-raw,format=I420,width=320,height=240,framerate=30/1)

# MPEG-2 program stream. mpegpsmux writes clock references that make demuxers report a third
# less than the real length, so the stream is muxed by libav's VOB muxer instead. A program
# stream has no stored length: demuxers report the last picture's start, hence one more picture.
vantrel_gst_media(clip.mpg
  ${_bars} num-buffers=61 ! ${_qvga} ! mpeg2enc format=3 ! mpegvideoparse ! queue
    ! avmux_vob name=mux ! filesink location=@OUT@
  ${_tone} num-buffers=200 ! ${_pcm} ! twolamemp2enc ! mpegaudioparse ! queue ! mux.)

# Program and transport streams as ordinary encoders write them: their first picture comes well
# after the stream's clock starts (libav's muxers given the usual 0.7 s of decoder delay, and
# mpegtsmux's fixed 1/8 s), so GStreamer's demuxers count their positions from there, not from 0.
vantrel_gst_media(late_start_mpeg1.mpg
  ${_bars} num-buffers=60 ! ${_qvga} ! mpeg2enc format=0 ! mpegvideoparse ! queue
    ! avmux_mpeg maxdelay=700000 name=mux ! filesink location=@OUT@
  ${_tone} num-buffers=200 ! ${_pcm} ! twolamemp2enc ! mpegaudioparse ! queue ! mux.)

vantrel_gst_media(late_start_mpeg2.mpg
  ${_bars} num-buffers=60 ! ${_qvga} ! mpeg2enc format=3 ! mpegvideoparse ! queue
    ! avmux_vob maxdelay=700000 name=mux ! filesink location=@OUT@
  ${_tone} num-buffers=200 ! ${_pcm} ! twolamemp2enc ! mpegaudioparse ! queue ! mux.)

vantrel_gst_media(late_start.ts
  ${_bars} num-buffers=60 ! ${_qvga} ! ${_h264} ! queue ! mpegtsmux name=mux ! filesink location=@OUT@
  ${_tone} num-buffers=200 ! ${_pcm} ! audioconvert ! voaacenc ! aacparse ! queue ! mux.)

vantrel_gst_media(clip.avi
  ${_bars} num-buffers=60 ! ${_qvga} ! jpegenc ! queue ! avimux name=mux ! filesink location=@OUT@
  ${_tone} num-buffers=200 ! ${_pcm} ! queue ! mux.)

vantrel_gst_media(clip.mov
  ${_bars} num-buffers=60 ! video/x-raw,format=I420,width=352,height=288,framerate=30/1
    ! ${_h264} ! queue ! qtmux name=mux ! filesink location=@OUT@
  ${_tone} num-buffers=200 ! ${_pcm} ! audioconvert ! voaacenc ! aacparse ! queue ! mux.)

vantrel_gst_media(audio.ogg
  ${_tone} num-buffers=200 ! ${_pcm} ! audioconvert ! vorbisenc ! oggmux
    ! filesink location=@OUT@)

vantrel_gst_media(video_only.avi
  ${_bars} num-buffers=60 ! ${_qvga} ! jpegenc ! avimux ! filesink location=@OUT@)

vantrel_gst_media(one_frame.avi
  ${_bars} num-buffers=1 ! ${_qvga} ! jpegenc ! avimux ! filesink location=@OUT@)

# Stored 720x576 with 16:15 pixels: shown in square pixels it is 768x576.
vantrel_gst_media(anamorphic.mkv
  ${_bars} num-buffers=60
    ! video/x-raw,format=I420,width=720,height=576,pixel-aspect-ratio=16/15,framerate=30/1
    ! ${_h264} ! queue ! matroskamux name=mux ! filesink location=@OUT@
  ${_tone} num-buffers=200 ! ${_pcm} ! audioconvert ! vorbisenc ! queue ! mux.)

set(_dir ${VANTREL_MEDIA_DIR})

# vantrel_perl_media(<file> <perl program> [DEPENDS <file>...])
# Byte-level files; the program writes to $ARGV[0] and reads from $ARGV[1] where it needs to.
function(vantrel_perl_media file program)
  cmake_parse_arguments(M "" "" "DEPENDS" ${ARGN})
  set(out ${VANTREL_MEDIA_DIR}/${file})
  add_custom_command(OUTPUT ${out}
    COMMAND ${VANTREL_PERL} -e "open(my $out, '>:raw', $ARGV[0]) or die; ${program}"
      ${out}.part ${M_DEPENDS}
    COMMAND ${CMAKE_COMMAND} -E rename ${out}.part ${out}
    DEPENDS ${M_DEPENDS}
    COMMENT "Making media ${file}"
    VERBATIM)
endfunction()

vantrel_perl_media(truncated.mpg
  "open(my $in, '<:raw', $ARGV[1]) or die; read($in, my $head, 20480); print $out $head;"
  DEPENDS ${_dir}/clip.mpg)

# Seeded, so that the bytes (and what a type finder makes of them) are the same on every build.
vantrel_perl_media(random.avi
  "srand(20240611); print $out pack('C*', map { int(rand(256)) } 1 .. 65536);")

# A .mov cut in half: its index, written at the end, is gone.
vantrel_perl_media(truncated.mov
  "open(my $in, '<:raw', $ARGV[1]) or die; read($in, my $head, (-s $in) / 2); print $out $head;"
  DEPENDS ${_dir}/clip.mov)

# Noise between H.263 picture headers (16CIF, inter-coded, with arithmetic coding, which no
# decoder here takes): the type finder calls it raw H.263, and no picture ever comes out of it.
vantrel_perl_media(fake_h263.avi
  "srand(263); print $out pack('C*', 0, 0, 0x80, 0x02, 0x16, 0x80, map { 1 + int(rand(255)) } 1 .. 1018) for 1 .. 64;")

# A WAV header whose data chunk is empty: one sound stream, not one sample in it.
vantrel_perl_media(no_samples.wav
  "print $out pack('A4 V A4 A4 V v v V V v v A4 V', 'RIFF', 36, 'WAVE', 'fmt ', 16, 1, 2, 44100, 176400, 4, 16, 'data', 0);")

vantrel_perl_media(empty.mpg "")

vantrel_perl_media(text.mov "print $out qq(This is a plain text file, not a movie.\\n);")

add_custom_command(OUTPUT "${_dir}/name with space.avi"
  COMMAND ${CMAKE_COMMAND} -E copy ${_dir}/clip.avi "${_dir}/name with space.avi"
  DEPENDS ${_dir}/clip.avi
  COMMENT "Making media name with space.avi"
  VERBATIM)

# Subtitles, sound tracks and tags. Pieces made on the way to a medium go into parts/, where no
# player looks for a medium's subtitle files.
set(_parts ${_dir}/parts)
file(MAKE_DIRECTORY ${_parts})
set(_blue videotestsrc pattern=blue)
set(_slurp "sub slurp { open(my $f, '<:raw', $_[0]) or die; local $/; <$f> }")

# vantrel_srt_media(<file> <seconds> <blocks>)
# The same cue every second up to <seconds>: a row of white full blocks (U+2588), so that a test
# can tell by the light pixels on a blue picture which track shows, if any. Not one long cue: a
# cue that began before a seek is not shown again, the next one is. A subtitle file beside a
# medium needs 129 bytes for GStreamer's type finder to take it.
function(vantrel_srt_media file seconds blocks)
  vantrel_perl_media(${file}
    "my $row = qq(\\xE2\\x96\\x88) x ${blocks}; \
     printf $out qq(%d\\n00:00:%02d,000 --> 00:00:%02d,000\\n%s\\n\\n), $_ + 1, $_, $_ + 1, $row \
       for 0 .. ${seconds} - 1;")
endfunction()

# vantrel_not_default_mkv(<file> <made from> <track name>)
# matroskamux writes no FlagDefault, so every track reads as default. The first track of that name
# loses it: its Name element gives way to FlagDefault 0 and a Void element as long as the rest, so
# that no size or offset in the file changes.
function(vantrel_not_default_mkv file from name)
  vantrel_perl_media(${file}
    "${_slurp} my $mkv = slurp($ARGV[1]); \
     my $name = qq(\\x53\\x6E) . chr(0x81 + length '${name}') . qq(${name}\\0); \
     my $void = length($name) - 5; \
     my $flag = qq(\\x88\\x81\\x00\\xEC) . chr(0x80 | $void) . qq(\\0) x $void; \
     $mkv =~ s/\\Q$name\\E/$flag/ or die; \
     print $out $mkv;"
    DEPENDS ${from})
endfunction()

vantrel_srt_media(parts/long_row_4s.srt 4 16)
vantrel_srt_media(parts/short_row_4s.srt 4 4)
vantrel_srt_media(parts/long_row_2s.srt 2 16)
vantrel_srt_media(parts/two_blocks_3s.srt 3 2)
vantrel_srt_media(sidecar.srt 3 16)
vantrel_srt_media(sidecar_embedded.srt 3 16)

# The long row's track first, then the short row's; the first loses its default flag below.
vantrel_gst_media(parts/subtitled.mkv
  ${_blue} num-buffers=120 ! ${_qvga} ! ${_h264} ! queue ! matroskamux name=mux
    ! filesink location=@OUT@
  ${_tone} num-buffers=400 ! ${_pcm} ! audioconvert ! vorbisenc ! queue ! mux.
  filesrc location=\"${_parts}/long_row_4s.srt\" ! subparse ! queue ! mux.
  filesrc location=\"${_parts}/short_row_4s.srt\" ! subparse ! queue ! mux.
  DEPENDS ${_parts}/long_row_4s.srt ${_parts}/short_row_4s.srt)
vantrel_not_default_mkv(subtitled.mkv ${_parts}/subtitled.mkv Subtitle)

# MP4 takes plain text (mov_text); the cue has no markup, so subparse's Pango markup is plain text.
vantrel_gst_media(subtitled.mp4
  ${_blue} num-buffers=60 ! ${_qvga} ! ${_h264} ! queue ! mp4mux name=mux ! filesink location=@OUT@
  filesrc location=\"${_parts}/long_row_2s.srt\" ! subparse ! capssetter caps=text/x-raw,format=utf8
    ! queue ! mux.subtitle_0
  DEPENDS ${_parts}/long_row_2s.srt)

vantrel_gst_media(sidecar.mkv
  ${_blue} num-buffers=90 ! ${_qvga} ! ${_h264} ! matroskamux ! filesink location=@OUT@)

vantrel_gst_media(sidecar_embedded.mkv
  ${_blue} num-buffers=90 ! ${_qvga} ! ${_h264} ! queue ! matroskamux name=mux
    ! filesink location=@OUT@
  filesrc location=\"${_parts}/two_blocks_3s.srt\" ! subparse ! queue ! mux.
  DEPENDS ${_parts}/two_blocks_3s.srt)

# ASS whose styling shows: a red row, where a renderer that shows the plain text draws white.
# gst-launch's parsers turn ASS into plain text, so a program of ours pushes the events to the
# muxer as they are; it writes where told and takes the length in seconds and the row's blocks.
add_executable(vantrel_make_ass_medium ${PROJECT_SOURCE_DIR}/tests/media/make_ass_medium.cpp)
target_link_libraries(vantrel_make_ass_medium PRIVATE PkgConfig::GST)
vantrel_warnings(vantrel_make_ass_medium)
if(VANTREL_SANITIZE)
  # A tool of the build, not the code under test: GStreamer's one-time allocations would fail it.
  target_compile_options(vantrel_make_ass_medium PRIVATE -fno-sanitize=all)
  target_link_options(vantrel_make_ass_medium PRIVATE -fno-sanitize=all)
endif()
add_custom_command(OUTPUT ${_dir}/styled.mkv
  COMMAND vantrel_make_ass_medium ${_dir}/styled.mkv.part 3 8
  COMMAND ${CMAKE_COMMAND} -E rename ${_dir}/styled.mkv.part ${_dir}/styled.mkv
  DEPENDS vantrel_make_ass_medium
  COMMENT "Making media styled.mkv"
  VERBATIM)

# English, quiet and low, first; German, loud and high, second and the default.
vantrel_gst_media(parts/two_audio.mkv
  ${_bars} num-buffers=180 ! ${_qvga} ! ${_h264} ! queue ! matroskamux name=mux
    ! filesink location=@OUT@
  audiotestsrc wave=sine freq=440 volume=0.1 samplesperbuffer=441 num-buffers=600 ! ${_pcm}
    ! taginject tags=language-code=en ! audioconvert ! vorbisenc ! queue ! mux.
  audiotestsrc wave=sine freq=880 volume=0.5 samplesperbuffer=441 num-buffers=600 ! ${_pcm}
    ! taginject tags=language-code=de ! audioconvert ! vorbisenc ! queue ! mux.)
vantrel_not_default_mkv(two_audio.mkv ${_parts}/two_audio.mkv Audio)

# Stored 320x240, red on the left and blue on the right. mp4mux writes no turn into the track
# header, so its matrix is patched to a quarter turn clockwise: upright, 240x320 with red on top.
vantrel_gst_media(parts/rotated.mp4
  compositor name=pic sink_1::xpos=160 ! ${_qvga} ! ${_h264} ! mp4mux ! filesink location=@OUT@
  videotestsrc pattern=solid-color foreground-color=0xffff0000 num-buffers=60
    ! video/x-raw,width=160,height=240,framerate=30/1 ! pic.
  videotestsrc pattern=solid-color foreground-color=0xff0000ff num-buffers=60
    ! video/x-raw,width=160,height=240,framerate=30/1 ! pic.)
vantrel_perl_media(rotated.mp4
  "${_slurp} my $mp4 = slurp($ARGV[1]); my $at = index($mp4, 'tkhd'); \
   die unless $at > 4 && unpack('N', substr($mp4, $at - 4, 4)) == 92; \
   substr($mp4, $at + 44, 36) = pack('N9', 0, 0x10000, 0, 0xFFFF0000, 0, 0, 0, 0, 0x40000000); \
   print $out $mp4;"
  DEPENDS ${_parts}/rotated.mp4)

# Songs. CBR, so that the length estimated from the file's size is the same on every build.
vantrel_gst_media(plain.mp3
  ${_tone} num-buffers=200 ! ${_pcm} ! lamemp3enc target=bitrate cbr=true bitrate=128
    ! filesink location=@OUT@)
vantrel_gst_media(parts/cover.png
  videotestsrc pattern=solid-color foreground-color=0xffff8000 num-buffers=1
    ! video/x-raw,format=RGB,width=200,height=120 ! pngenc ! filesink location=@OUT@)

# An ID3v2.3 tag in front of plain.mp3 ($ARGV[1]): title, artist and album in ISO-8859-1, and a
# front cover (picture type 3). The tag's size is stored in 7-bit bytes, a frame's in 8-bit ones.
set(_id3 "${_slurp} \
  sub frame { my ($id, $body) = @_; $id . pack('N n', length $body, 0) . $body } \
  sub id3 { my $tag = join '', @_; \
    'ID3' . pack('C3 C4', 3, 0, 0, map { (length($tag) >> 7 * $_) & 0x7F } 3, 2, 1, 0) . $tag } \
  sub cover { frame('APIC', qq(\\0$_[0]\\0\\x03\\0) . $_[1]) } \
  my @text = (frame('TIT2', qq(\\0Vantrel Test Song)), frame('TPE1', qq(\\0Test Artist)), \
    frame('TALB', qq(\\0Test Album)));")
vantrel_perl_media(cover.mp3
  "${_id3} print $out id3(@text, cover('image/png', slurp($ARGV[2]))), slurp($ARGV[1]);"
  DEPENDS ${_dir}/plain.mp3 ${_parts}/cover.png)
# A JPEG start marker, so that GStreamer takes it for a JPEG and hands it on, then noise.
vantrel_perl_media(broken_cover.mp3
  "${_id3} srand(2000); my $noise = pack('C*', map { int(rand(256)) } 1 .. 2000); \
   print $out id3(@text, cover('image/jpeg', qq(\\xFF\\xD8\\xFF) . $noise)), slurp($ARGV[1]);"
  DEPENDS ${_dir}/plain.mp3)
# A PNG signature and 50 MiB of noise: one seeded 64 KiB block, repeated.
vantrel_perl_media(huge_cover.mp3
  "${_id3} srand(50); my $noise = pack('C*', map { int(rand(256)) } 1 .. 65536) x 800; \
   print $out id3(@text, cover('image/png', qq(\\x89PNG\\r\\n\\x1A\\n) . $noise)), slurp($ARGV[1]);"
  DEPENDS ${_dir}/plain.mp3)

# A PICTURE metadata block (front cover) after STREAMINFO, which takes over STREAMINFO's
# last-block flag.
vantrel_gst_media(parts/tone.flac
  ${_tone} num-buffers=200 ! ${_pcm} ! flacenc ! filesink location=@OUT@)
vantrel_perl_media(cover.flac
  "${_slurp} my $flac = slurp($ARGV[1]); my $png = slurp($ARGV[2]); \
   die unless substr($flac, 0, 4) eq 'fLaC' && (ord(substr($flac, 4, 1)) & 0x7F) == 0; \
   my $last = ord(substr($flac, 4, 1)) & 0x80; substr($flac, 4, 1) = qq(\\0); \
   my $picture = pack('N (N/a*)2 N4 N/a*', 3, 'image/png', '', 200, 120, 24, 0, $png); \
   substr($flac, 42, 0) = pack('C', $last | 6) . substr(pack('N', length $picture), 1) . $picture; \
   print $out $flac;"
  DEPENDS ${_parts}/tone.flac ${_parts}/cover.png)

# Two Ogg files back to back make one chained stream; its title changes halfway.
foreach(title First Second)
  vantrel_gst_media(parts/${title}.ogg
    ${_tone} num-buffers=150 ! ${_pcm} ! taginject tags=title=${title} ! audioconvert ! vorbisenc
      ! oggmux ! filesink location=@OUT@)
endforeach()
vantrel_perl_media(chained.ogg "${_slurp} print $out slurp($ARGV[1]), slurp($ARGV[2]);"
  DEPENDS ${_parts}/First.ogg ${_parts}/Second.ogg)

# Long enough to seek in, small and quick to make: a key picture every second.
vantrel_gst_media(minute.mkv
  ${_bars} num-buffers=600 ! video/x-raw,format=I420,width=160,height=120,framerate=10/1
    ! x264enc speed-preset=ultrafast key-int-max=10 ! h264parse ! queue ! matroskamux name=mux
    ! filesink location=@OUT@
  ${_tone} num-buffers=6000 ! ${_pcm} ! audioconvert ! vorbisenc ! queue ! mux.)

# Media found in the wild, kept as they are.
foreach(found h263-typefound-noise.avi)
  add_custom_command(OUTPUT ${_dir}/${found}
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/tests/media/files/${found} ${_dir}/${found}
    DEPENDS ${PROJECT_SOURCE_DIR}/tests/media/files/${found}
    COMMENT "Copying media ${found}"
    VERBATIM)
endforeach()

set(_test_media h263-typefound-noise.avi clip.mpg clip.avi clip.mov audio.ogg video_only.avi one_frame.avi anamorphic.mkv
  late_start_mpeg1.mpg late_start_mpeg2.mpg late_start.ts
  truncated.mpg truncated.mov random.avi fake_h263.avi no_samples.wav empty.mpg text.mov
  "name with space.avi"
  subtitled.mkv subtitled.mp4 sidecar.mkv sidecar.srt sidecar_embedded.mkv sidecar_embedded.srt
  styled.mkv
  two_audio.mkv rotated.mp4 plain.mp3 cover.mp3 broken_cover.mp3 huge_cover.mp3 cover.flac
  chained.ogg minute.mkv)
list(TRANSFORM _test_media PREPEND ${_dir}/)
add_custom_target(test_media ALL DEPENDS ${_test_media})
