#!/usr/bin/env bash
# The main job: builds the program, plans the installation of the sample
# package with saverpkg, packs it into one setup file and signs that with a
# throwaway certificate, runs the file under Wine and clicks through the
# wizard, removes the product again with the installed uninstaller, and reports
# the file (name, size, SHA-256, signature), what was installed, removed and
# left behind, and whether all went as planned.
set -u
cd "$(dirname "$0")/.."
. scripts/prerequisites.sh
tsaver_prerequisites || exit 1
tsaver_display || exit 1
tsaver_build win32 win64 || { echo "build failed"; exit 1; }
echo "Shipping program (32-bit Windows): build/win32/Install.exe"
echo "Package tool: build/win64/saverpkg.exe and build/win32/saverpkg.exe (see the README)"
echo "Setup file's extractor: build/win32/Extractor.exe; the packed and signed file: build/win32/demo-setup/"
echo "== demonstration under Wine: the shipped i686 program on 64-bit Windows (WoW64)"
# The shipped program where users run it today: a 64-bit Windows.
export TSAVER_WINEARCH=win64
wine=build/win32/wine-run.sh
prefix=build/win32/wineprefix-win64
"$wine" build/win32/demo/demo.exe
status=$?
tsaver_wine_stop "$prefix"
# Browsers show PNG everywhere, and small.
for bmp in build/win32/screenshots/demo-*.bmp; do
  [ -f "$bmp" ] && convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
echo "Screenshots: build/win32/screenshots/"
echo "Report: build/win32/demo-report.html"
exit $status
