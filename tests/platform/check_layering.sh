#!/bin/sh
# check_layering.sh SRC_PLATFORM_DIR: the platform layer includes nothing of the program,
# its folders depend on each other without a circle, and the folders without a toolkit
# include none of it.
set -u
dir=$1
status=0

sources() { find "$dir" -type f \( -name '*.h' -o -name '*.cpp' \); }

foreign=$(sources | xargs grep -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' | grep -v -E '#[[:space:]]*include[[:space:]]*"platform/')
if [ -n "$foreign" ]; then
  echo "headers from outside the platform layer:"; echo "$foreign"; status=1
fi

# One edge "from to" for each include of another folder's header.
edges=$(sources | while read -r file; do
  from=$(echo "${file#"$dir"/}" | cut -d/ -f1)
  grep -o -E '#include "platform/[a-z_]+/' "$file" | sed -e 's|.*platform/||' -e 's|/$||' |
    while read -r to; do [ "$to" = "$from" ] || echo "$from $to"; done
done | sort -u)
echo "folder dependencies:"; echo "$edges" | sed 's/^/  /'
if ! echo "$edges" | tsort >/dev/null 2>/tmp/layering.$$; then
  echo "a circle between folders:"; cat /tmp/layering.$$; status=1
fi
rm -f /tmp/layering.$$

widgets=$(grep -rn -E '#include <(QtWidgets|QApplication|QWidget|QDialog|Q[A-Za-z]*Widget)' "$dir/system" "$dir/com" "$dir/gdi")
if [ -n "$widgets" ]; then
  echo "widget code in a folder that must not know it:"; echo "$widgets"; status=1
fi
qt_in_com=$(grep -rn -E '#include <(Q|gst/|glib)' "$dir/com")
if [ -n "$qt_in_com" ]; then
  echo "toolkit headers in the COM layer:"; echo "$qt_in_com"; status=1
fi
exit $status
