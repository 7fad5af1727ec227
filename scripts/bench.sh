#!/usr/bin/env bash
# The benchmark: the program against its NSIS peer under Wine. Builds both,
# makes the payload, runs ROUNDS rounds (default 5), the program then the peer,
# in one fresh Wine prefix, prints each figure's median and range with the
# goals' ratios and writes them to build/win64/benchmark/results.md. It fails
# only when a run fails, never on the numbers.
#   bash scripts/bench.sh [ROUNDS]
set -u
cd "$(dirname "$0")/.."
rounds="${1:-5}"
. scripts/prerequisites.sh
tsaver_prerequisites || exit 1
tsaver_display || exit 1
# The shipping i686 program for its size; of win64 only what the runs need.
tsaver_build win32 || { echo "build failed"; exit 1; }
echo "== build win64: the program, the test programs, the timer and the one-window program"
cmake --preset win64 >/dev/null && cmake --build --preset win64 -j "$(nproc)" --target bench_timer OneWindow ||
  { echo "build failed"; exit 1; }

out="$PWD/build/win64/benchmark"
export WINEPREFIX="$out/wineprefix"
if ! tsaver_runs_i686; then
  # Its sizes are still measured; its runs cannot start here.
  echo "This machine cannot run 32-bit x86 programs: the i686 side is built and sized, not run"
  export TSAVER_BENCH_WITHOUT_I686=1
fi
server=/usr/lib/wine/wineserver64
[ -x "$server" ] || server=wineserver
# A fresh prefix: neither side meets traces of an earlier run.
"$server" -k 2>/dev/null
rm -rf "$out"
mkdir -p "$out"
timer() { build/win64/wine-run.sh build/win64/bench/bench_timer.exe "$@"; }

SECONDS=0
echo "== payload, in a fresh Wine prefix"
timer payload "$PWD/build/win32/Install.exe" "$PWD/build/win32/fixtures" "$PWD/build/win32/Extractor.exe" || exit 1
# The rounds in a server of their own: in the one that made the payload's thousands
# of files, the x86_64 extras round's finish took some 150 ms longer.
"$server" -k 2>/dev/null
echo "== NSIS peer from bench/peer/BenchPeer.nsi"
makensis -V2 -DOUTFILE="$out/BenchPeer.exe" -DPAYLOAD="$WINEPREFIX/drive_c/e2e/Bench" bench/peer/BenchPeer.nsi &&
  makensis -V2 -DOUTFILE="$out/BenchPeerWithoutPayload.exe" bench/peer/BenchPeer.nsi &&
  makensis -V2 -DOUTFILE="$out/BenchPeerWizard.exe" -DWIZARD bench/peer/BenchPeer.nsi || exit 1
# Beside the shipping i686 program under WoW64: the peer for 32-bit Windows, from the i686 payload.
x86=-DTARGET=x86-unicode
makensis -V2 $x86 -DOUTFILE="$out/BenchPeer-x86.exe" -DPAYLOAD="$WINEPREFIX/drive_c/e2e/Bench32" bench/peer/BenchPeer.nsi &&
  makensis -V2 $x86 -DOUTFILE="$out/BenchPeerWithoutPayload-x86.exe" bench/peer/BenchPeer.nsi &&
  makensis -V2 $x86 -DOUTFILE="$out/BenchPeerWizard-x86.exe" -DWIZARD bench/peer/BenchPeer.nsi || exit 1
# With 900 extra files, listed in the script that the payload step wrote.
extras="-DEXTRAS=$WINEPREFIX/drive_c/e2e/BenchExtras.nsh"
makensis -V2 "$extras" -DOUTFILE="$out/BenchPeerExtras.exe" -DPAYLOAD="$WINEPREFIX/drive_c/e2e/BenchExtras" \
  bench/peer/BenchPeer.nsi &&
  makensis -V2 "$extras" $x86 -DOUTFILE="$out/BenchPeerExtras-x86.exe" \
    -DPAYLOAD="$WINEPREFIX/drive_c/e2e/BenchExtras32" bench/peer/BenchPeer.nsi || exit 1
# Beside the packed setup files: the peer with zlib, silent and with its wizard (and its CRC check).
for side in "amd64-unicode Bench" "x86-unicode Bench32"; do
  set -- $side
  suffix=${2#Bench}
  [ -n "$suffix" ] && suffix=-x86
  makensis -V2 -DTARGET="$1" -DZLIB -DOUTFILE="$out/BenchPeerZlib$suffix.exe" -DPAYLOAD="$WINEPREFIX/drive_c/e2e/$2" \
    bench/peer/BenchPeer.nsi &&
    makensis -V2 -DTARGET="$1" -DZLIB -DWIZARD -DOUTFILE="$out/BenchPeerZlibWizard$suffix.exe" \
      -DPAYLOAD="$WINEPREFIX/drive_c/e2e/$2" bench/peer/BenchPeer.nsi || exit 1
done
# The sizes are those of what would ship: stripped copies.
i686-w64-mingw32-strip -o "$out/Install-i686.exe" build/win32/Install.exe &&
  x86_64-w64-mingw32-strip -o "$out/Install-x86_64.exe" build/win64/Install.exe || exit 1
echo "(prefix, payload and peer: ${SECONDS} s)"

SECONDS=0
echo "== rounds: $rounds, after one warm-up round"
timer run "$rounds" "$out/BenchPeer.exe" "$out/BenchPeerWithoutPayload.exe" "$out/BenchPeerWizard.exe" \
  "$out/Install-i686.exe" "$out/Install-x86_64.exe" "$out/results.md" \
  "$out/BenchPeer-x86.exe" "$out/BenchPeerWithoutPayload-x86.exe" "$out/BenchPeerWizard-x86.exe" \
  "$PWD/build/win64/bench/OneWindow.exe" "$PWD/build/win32/bench/OneWindow.exe" \
  "$out/BenchPeerExtras.exe" "$out/BenchPeerExtras-x86.exe" \
  "$out/BenchPeerZlib.exe" "$out/BenchPeerZlibWizard.exe" "$out/BenchPeerZlib-x86.exe" "$out/BenchPeerZlibWizard-x86.exe"
status=$?
echo "(rounds: ${SECONDS} s)"
"$server" -k 2>/dev/null
[ "$status" -eq 0 ] && echo "Results: build/win64/benchmark/results.md"
exit $status
