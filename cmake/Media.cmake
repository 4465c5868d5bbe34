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

# vantrel_gst_media(<file> <pipeline element>...)
# Writes through a part file that is renamed at the end, so a failed run leaves nothing that looks
# finished. The pipeline names its file sink's location as @OUT@.
function(vantrel_gst_media file)
  set(out ${VANTREL_MEDIA_DIR}/${file})
  set(part ${out}.part)
  list(TRANSFORM ARGN REPLACE "@OUT@" "\"${part}\"")
  add_custom_command(OUTPUT ${out}
    COMMAND ${VANTREL_GST_LAUNCH} -q ${ARGN}
    COMMAND ${CMAKE_COMMAND} -E rename ${part} ${out}
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

set(_test_media clip.mpg clip.avi clip.mov audio.ogg video_only.avi one_frame.avi anamorphic.mkv
  late_start_mpeg1.mpg late_start_mpeg2.mpg late_start.ts
  truncated.mpg truncated.mov random.avi fake_h263.avi no_samples.wav empty.mpg text.mov
  "name with space.avi")
list(TRANSFORM _test_media PREPEND ${_dir}/)
add_custom_target(test_media ALL DEPENDS ${_test_media})
