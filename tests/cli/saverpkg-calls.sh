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
# Packing, with the smallest PE program the packer takes as its extractor.
stub="$work/stub.exe"
python3 -c "import sys
pe = bytearray(1024); pe[0:2] = b'MZ'; pe[0x3c] = 0x40; pe[0x40:0x44] = b'PE\0\0'; pe[0x46] = 1
pe[0x54] = 0xe0; pe[0x58:0x5a] = b'\x0b\x01'; pe[0x58 + 92] = 16; pe[0x138 + 17] = 2; pe[0x138 + 21] = 2
open(sys.argv[1], 'wb').write(pe)" "$stub"
expect 0 pack "$sound" -o "$work/one.exe" --extractor "$stub"
expect 0 pack "$sound" -o "$work/two.exe" --extractor "$stub" --json && json sha256
cmp -s "$work/one.exe" "$work/two.exe" || { echo "FAILED: packing twice gave different files"; failures=$((failures + 1)); }
expect 0 verify "$work/two.exe" --json && json files
python3 -c "import json,sys; d=json.load(open(sys.argv[1])); names=sorted(f['name'] for f in d['files'])
assert d['intact'] and names == sorted(sys.argv[2:]), d" "$work/out" $(ls "$sound") ||
  { echo "FAILED: verify does not list the packed files"; failures=$((failures + 1)); }
head -c -1 "$work/one.exe" >"$work/cut.exe"
expect 1 verify "$work/cut.exe"
expect 1 pack "$broken" -o "$work/broken.exe" --extractor "$stub" --json && json findings
[ -e "$work/broken.exe" ] && { echo "FAILED: a refused package was packed"; failures=$((failures + 1)); }
expect 2 pack "$sound" --extractor "$stub"
expect 2 pack "$sound" -o "$work/three.exe" --extractor "$sound/Data.dat"
expect 2 verify "$work/none.exe"
[ "$failures" -eq 0 ] && echo "saverpkg calls: all as expected"
exit $((failures > 0))
