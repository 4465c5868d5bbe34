# Writes a header with the bytes of files as constexpr arrays.
#   cmake -DOUTPUT=<header> -DNAMESPACE=<ns> -DFILES=<name>=<path>|<name>=<path>... -P embed_files.cmake
# The header is replaced only when its text changes, so nothing rebuilds needlessly.
set(text "// Made at build time by embed_files.cmake; do not edit.\n#pragma once\n\nnamespace ${NAMESPACE} {\n")
string(REPLACE "|" ";" FILES "${FILES}")
foreach(entry IN LISTS FILES)
  string(FIND "${entry}" "=" eq)
  string(SUBSTRING "${entry}" 0 ${eq} name)
  math(EXPR from "${eq} + 1")
  string(SUBSTRING "${entry}" ${from} -1 path)
  file(READ "${path}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  # Sixteen bytes to a line (the regular expressions here know no counted repeats).
  string(REPEAT "0x[0-9a-f][0-9a-f]," 16 line)
  string(REGEX REPLACE "(${line})" "\\1\n    " bytes "${bytes}")
  string(APPEND text "\ninline constexpr unsigned char ${name}[] = {\n    ${bytes}\n};\n")
endforeach()
string(APPEND text "\n}  // namespace ${NAMESPACE}\n")
file(CONFIGURE OUTPUT "${OUTPUT}" CONTENT "${text}" @ONLY)
