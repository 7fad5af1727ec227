#!/usr/bin/env bash
# The command line of saverpkg: exit codes, and JSON that a JSON reader takes.
# Usage: saverpkg-calls.sh PATH-TO-SAVERPKG
set -u
tool=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

expect() {  # expected exit code, then the call's arguments
  local want=$1
  shift
  "$tool" "$@" >"$work/out" 2>"$work/err"
  local got=$?
  if [ "$got" -ne "$want" ]; then
    echo "FAILED: saverpkg $* exited $got, expected $want"
    cat "$work/out" "$work/err"
    failures=$((failures + 1))
  fi
}

json() {  # the last call's output must be JSON holding the member given
  python3 -c "import json,sys; d=json.load(open(sys.argv[1])); assert sys.argv[2] in d, d" "$work/out" "$1" ||
    { echo "FAILED: no JSON with \"$1\""; failures=$((failures + 1)); }
}

sound="$work/sound"
mkdir -p "$sound"
printf 'Tessaryn\r\nTessaryn\r\n' >"$sound/Data.dat"
printf '1\r\nTrue\r\nTrue\r\nTrue\r\n' >"$sound/After.txt"
for f in Install.exe Tessaryn.scr SWFlash.ocx TaskTray.exe RunSaver.exe Readme.txt; do echo "$f" >"$sound/$f"; done
onCd="$work/cd"
cp -r "$sound" "$onCd"
chmod a-w "$onCd"/*
broken="$work/broken"
cp -r "$sound" "$broken"
printf 'Tessaryn\nTessaryn\n' >"$broken/Data.dat"

expect 0 check "$sound"
expect 0 check "$sound" --json && json findings
expect 1 check "$broken" --json && json findings
expect 0 check "$onCd" --json
grep -q '"severity": "info", "rule": "package-read-only"' "$work/out" ||
  { echo "FAILED: a read-only package is not reported"; failures=$((failures + 1)); }
expect 0 plan "$sound" --json --windows-dir 'C:\windows' && json log
expect 1 plan "$broken"
expect 2 check "$work/none"
expect 2 plan "$work/none"
expect 2 check
expect 2 inspect "$sound"
expect 2 plan "$sound" --install-dir
expect 2 check "$sound" --windows-dir 'C:\windows'
[ "$failures" -eq 0 ] && echo "saverpkg calls: all as expected"
exit $((failures > 0))
