#!/usr/bin/env bash
# Builds every preset and runs every test: native (plain and sanitized) and the
# Windows tests under Wine, runs the benchmark once, then prints the totals.
# Exits non-zero on any failure.
set -u
cd "$(dirname "$0")/.."
. scripts/prerequisites.sh
tsaver_prerequisites || exit 1
tsaver_display || exit 1
# The i686 program is built first: the import check of the win64 tests reads it.
tsaver_build win32 native native-asan win64 || { echo "build failed"; exit 1; }

status=0
for preset in native native-asan win64; do
  echo "== test $preset"
  rm -rf "build/$preset/results"
  ctest --preset "$preset" --timeout 900 || status=1
done
# Wine's server and services outlive the tests; end them with the run.
WINEPREFIX="$PWD/build/win64/wineprefix" /usr/lib/wine/wineserver64 -k 2>/dev/null

# One round keeps the benchmark working; its numbers pass no verdict, but a run that fails does.
echo "== benchmark, one round"
bench=0
bash scripts/bench.sh 1 || bench=1

count() {  # preset, attribute: the sum of that attribute over the gtest reports
  cat build/"$1"/results/*.xml 2>/dev/null | grep -o "<testsuites [^>]*" | grep -o " $2=\"[0-9]*\"" |
    grep -o '[0-9]*' | awk '{s+=$1} END {print s+0}'
}
total=0; failed=0
for preset in native native-asan win64; do
  t=$(count "$preset" tests); f=$(( $(count "$preset" failures) + $(count "$preset" errors) ))
  where=$([ "$preset" = win64 ] && echo "under Wine" || echo "natively ($preset)")
  echo "Test cases run $where: $t, failed: $f"
  total=$((total + t)); failed=$((failed + f))
done
[ "$status" -ne 0 ] && [ "$failed" -eq 0 ] && echo "A test entry failed without a test-case report: see the ctest output above."
[ "$bench" -ne 0 ] && echo "The benchmark failed to run: see its output above."
echo "$((total - failed)) passed, $failed failed"
[ "$bench" -ne 0 ] && status=1
exit $status
