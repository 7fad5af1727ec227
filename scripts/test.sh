#!/usr/bin/env bash
# Builds every preset and runs every test: native (plain and sanitized) and the
# Windows tests under Wine (the x86_64 build in a 64-bit Windows, the shipped
# i686 build in a 32-bit one and under WoW64), runs the benchmark once, then
# prints the totals.
# Exits non-zero on any failure.
set -u
cd "$(dirname "$0")/.."
. scripts/prerequisites.sh
tsaver_prerequisites || exit 1
tsaver_display || exit 1
tsaver_build native native-asan win64 win32 || { echo "build failed"; exit 1; }

presets=(native native-asan win64 win32)
status=0
i686_skipped=""
for preset in "${presets[@]}"; do
  echo "== test $preset"
  rm -rf "build/$preset/results"
  if [ "$preset" = win32 ] && ! tsaver_runs_i686; then
    # Nothing of the i686 build can start here; what needs no Wine still runs.
    i686_skipped="This machine cannot run 32-bit x86 programs (its kernel refuses i386 executables): the i686 build's Windows tests were not run here, only its import check; the x86_64 build ran the same tests under Wine."
    echo "$i686_skipped"
    ctest --preset "$preset" --timeout 900 -R '^imports$' || status=1
    continue
  fi
  ctest --preset "$preset" --timeout 900 || status=1
done
# Wine's servers and services outlive the tests; end them with the run.
tsaver_wine_stop build/win64/wineprefix build/win32/wineprefix build/win32/wineprefix-win64

# The readers of untrusted bytes, fuzzed briefly, and held against Wine's own answers.
echo "== fuzzing and the differential check, short"
fuzz=0
bash scripts/fuzz.sh --ci || fuzz=1

# One round keeps the benchmark working; its numbers pass no verdict, but a run that fails does.
echo "== benchmark, one round"
bench=0
bash scripts/bench.sh 1 || bench=1

count() {  # preset, attribute: the sum of that attribute over the gtest reports
  cat build/"$1"/results/*.xml 2>/dev/null | grep -o "<testsuites [^>]*" | grep -o " $2=\"[0-9]*\"" |
    grep -o '[0-9]*' | awk '{s+=$1} END {print s+0}'
}
total=0; failed=0
for preset in "${presets[@]}"; do
  t=$(count "$preset" tests); f=$(( $(count "$preset" failures) + $(count "$preset" errors) ))
  case $preset in
    win64) where="under Wine, x86_64 build" ;;
    win32) where="under Wine, i686 build (32-bit Windows and WoW64)" ;;
    *) where="natively ($preset)" ;;
  esac
  echo "Test cases run $where: $t, failed: $f"
  total=$((total + t)); failed=$((failed + f))
done
[ -n "$i686_skipped" ] && echo "$i686_skipped"
[ "$status" -ne 0 ] && [ "$failed" -eq 0 ] && echo "A test entry failed without a test-case report: see the ctest output above."
[ "$bench" -ne 0 ] && echo "The benchmark failed to run: see its output above."
[ "$fuzz" -ne 0 ] && echo "Fuzzing or the differential check found something: see its output above."
echo "$((total - failed)) passed, $failed failed"
[ "$bench" -ne 0 ] && status=1
[ "$fuzz" -ne 0 ] && status=1
exit $status
