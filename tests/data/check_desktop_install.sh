#!/bin/sh
# check_desktop_install.sh CMAKE BUILD_DIR WORK_DIR: installs the desktop component
# under WORK_DIR and checks the tree as a software centre reads it.
set -eu
prefix=$3/desktop-install
rm -rf "$prefix"
"$1" --install "$2" --component desktop --prefix "$prefix" >/dev/null
icons=$prefix/share/icons/hicolor
for size in 16 32 48 64 128 256; do
  test -f "$icons/${size}x${size}/apps/vantrel.png" || { echo "no ${size}x${size} icon"; exit 1; }
done
test -f "$icons/scalable/apps/vantrel.svg" || { echo "no scalable icon"; exit 1; }
test -f "$prefix/share/applications/vantrel.desktop" || { echo "no desktop entry"; exit 1; }
command -v appstreamcli >/dev/null 2>&1 || { echo "appstreamcli is not installed"; exit 77; }
appstreamcli validate-tree --no-net "$prefix"
