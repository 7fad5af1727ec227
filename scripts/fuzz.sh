#!/usr/bin/env bash
# Fuzzes the readers of bytes that nobody here wrote (the package's text files,
# the uninstall log, the profile files), then holds the settings-file readers
# against Wine's own answers to every probe of the removal.
#   scripts/fuzz.sh [SECONDS]  each target SECONDS long (600 unless given); the
#                              differential over 5000 generated files
#   scripts/fuzz.sh --ci       each target 25 s; the differential over the first 60
# Both use the fixed seed of the generator. A finding (crash, hang, leak, undefined
# behaviour, difference) fails the run; its input is kept in build/fuzz/findings.
set -u
cd "$(dirname "$0")/.."
seconds=600 files=5000
if [ "${1:-}" = "--ci" ]; then
  seconds=25 files=60
elif [ -n "${1:-}" ]; then
  seconds=$1
fi
seed=17
. scripts/prerequisites.sh
tsaver_prerequisites || exit 1
tsaver_build fuzz || exit 1
tsaver_build_target win64 profile_probes || exit 1

status=0
findings=build/fuzz/findings
mkdir -p "$findings"
for target in package uninstall_log profile_files; do
  echo "== fuzz $target, $seconds s"
  corpus=build/fuzz/corpus/$target
  mkdir -p "$corpus"
  # Inputs of at most 4 KB: a package's text files and a log are small.
  if build/fuzz/tests/fuzz/fuzz_$target -max_total_time="$seconds" -max_len=4096 -timeout=10 \
      -artifact_prefix="$findings/$target-" -print_final_stats=1 "$corpus" "tests/fuzz/corpus/$target" \
      >"build/fuzz/$target.log" 2>&1; then
    grep -E "^#[0-9]+[[:space:]]+DONE" "build/fuzz/$target.log"
  else
    tail -40 "build/fuzz/$target.log"
    echo "fuzz_$target: a finding, kept in $findings"
    status=1
  fi
done

echo "== differential check, $files files (seed $seed)"
cases=build/fuzz/differential
rm -rf "$cases"
build/fuzz/tests/differential/profile_differential generate "$cases" "$files" "$seed" || exit 1
build/win64/wine-run.sh build/win64/tests/profile_probes.exe "Z:$PWD/$cases" || status=1
build/fuzz/tests/differential/profile_differential compare "$cases" >"build/fuzz/differential.log" || status=1
tail -1 build/fuzz/differential.log
# Wine's server and services outlive the program; end them with the run.
tsaver_wine_stop build/win64/wineprefix
[ "$status" -ne 0 ] && grep -v "files compared" build/fuzz/differential.log | head -40
exit $status
