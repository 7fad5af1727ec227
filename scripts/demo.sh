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
echo "Setup file's extractor: build/win32/Extractor.exe"
if tsaver_runs_i686; then
  echo "== demonstration under Wine: the shipped i686 program on 64-bit Windows (WoW64)"
  # The shipped program where users run it today: a 64-bit Windows.
  export TSAVER_WINEARCH=win64
  build=build/win32
  prefix=$build/wineprefix-win64
else
  echo "This machine cannot run 32-bit x86 programs (its kernel refuses i386 executables):"
  echo "== demonstration under Wine: the x86_64 build on 64-bit Windows, in place of the shipped i686 one"
  build=build/win64
  prefix=$build/wineprefix
fi
"$build/wine-run.sh" "$build/demo/demo.exe"
status=$?
tsaver_wine_stop "$prefix"
# Browsers show PNG everywhere, and small.
for bmp in "$build"/screenshots/demo-*.bmp; do
  [ -f "$bmp" ] && convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
echo "The packed and signed setup file: $build/demo-setup/"
echo "Screenshots: $build/screenshots/"
echo "Report: $build/demo-report.html"
exit $status
