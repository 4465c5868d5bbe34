#!/bin/sh
# The C++ sources as .clang-format lays them out: names each file that differs.
# check_format.sh SOURCE_DIR
cd "$1" || exit 2
command -v clang-format >/dev/null 2>&1 || { echo "clang-format is not installed"; exit 77; }
status=0
for file in $(find src tests bench -name '*.cpp' -o -name '*.h' | sort); do
  if ! clang-format --dry-run --Werror "$file" >/dev/null 2>&1; then
    echo "not formatted: $file"
    status=1
  fi
done
exit $status
