#!/usr/bin/env bash
# The main job: builds the program, installs the sample package under Wine by
# clicking through the wizard, removes the product again with the installed
# uninstaller, and reports what was installed, removed and left behind.
set -u
cd "$(dirname "$0")/.."
. scripts/prerequisites.sh
tsaver_prerequisites || exit 1
tsaver_display || exit 1
tsaver_build win32 win64 || { echo "build failed"; exit 1; }
echo "Shipping program (32-bit Windows): build/win32/Install.exe"
echo "== demonstration under Wine"
build/win64/wine-run.sh build/win64/demo/demo.exe
status=$?
WINEPREFIX="$PWD/build/win64/wineprefix" /usr/lib/wine/wineserver64 -k 2>/dev/null
echo "Screenshots: build/win64/screenshots/"
exit $status
