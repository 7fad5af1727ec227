#!/usr/bin/env bash
# The main job: builds the program, plans the installation of the sample
# package with saverpkg, installs it under Wine by clicking through the wizard,
# removes the product again with the installed uninstaller, and reports what
# was installed, removed and left behind, and whether all went as planned.
set -u
cd "$(dirname "$0")/.."
. scripts/prerequisites.sh
tsaver_prerequisites || exit 1
tsaver_display || exit 1
tsaver_build win32 win64 || { echo "build failed"; exit 1; }
echo "Shipping program (32-bit Windows): build/win32/Install.exe"
echo "Package tool: build/win64/saverpkg.exe and build/win32/saverpkg.exe (see the README)"
echo "== demonstration under Wine"
# A fresh Wine server, so that the desktop it makes is the virtual one that draws window frames.
WINEPREFIX="$PWD/build/win64/wineprefix" /usr/lib/wine/wineserver64 -k 2>/dev/null
build/win64/wine-run.sh build/win64/demo/demo.exe
status=$?
WINEPREFIX="$PWD/build/win64/wineprefix" /usr/lib/wine/wineserver64 -k 2>/dev/null
echo "Screenshots: build/win64/screenshots/"
echo "Report: build/win64/demo-report.html"
exit $status
