#!/usr/bin/env bash
# Proves that each program imports nothing but KnownDLLs: DLLs that every Windows has
# and always loads from its system directory, never from the program's own folder.
# Usage: check-imports.sh OBJDUMP EXE [OBJDUMP EXE ...]
# Fails for a missing program, an unreadable one, or any other DLL
# (libstdc++, libgcc, libwinpthread, ...), naming the offender.
set -u

# The KnownDLLs that the program may import; compared in lower case. Others (comctl32,
# mpr, version, ...) would be looked for beside the program before hardening could start:
# the program loads them itself, from System32, or delay-loads them.
system_dlls=" kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll ole32.dll oleaut32.dll
  comdlg32.dll shlwapi.dll msvcrt.dll "

[ $(( $# % 2 )) -eq 0 ] && [ $# -gt 0 ] || { echo "usage: $0 OBJDUMP EXE [OBJDUMP EXE ...]" >&2; exit 2; }

status=0
while [ $# -gt 0 ]; do
  objdump=$1 exe=$2
  shift 2
  if [ ! -f "$exe" ]; then
    echo "FAIL $exe: no such program (build it first)"
    status=1
    continue
  fi
  if ! dump=$("$objdump" -p "$exe" 2>&1); then
    echo "FAIL $exe: $objdump could not read it: $dump"
    status=1
    continue
  fi
  dlls=$(printf '%s\n' "$dump" | sed -n 's/^[[:space:]]*DLL Name:[[:space:]]*//p' | tr 'A-Z' 'a-z' | tr -d '\r')
  if [ -z "$dlls" ]; then
    echo "FAIL $exe: no imports found, not a program objdump understands"
    status=1
    continue
  fi
  foreign=""
  for dll in $dlls; do
    case "$system_dlls" in
      *" $dll "*) ;;
      *) foreign="$foreign $dll" ;;
    esac
  done
  if [ -n "$foreign" ]; then
    echo "FAIL $exe imports DLLs that are not KnownDLLs:$foreign"
    status=1
  else
    echo "ok   $exe imports only KnownDLLs:" $dlls
  fi
done
exit $status
