#!/usr/bin/env bash
# Fails when a program imports a library that Windows would look for in the
# program's own folder before the system folder. vrk.exe runs with
# administrator rights from a folder every local user may write to: what it
# imports must be a known DLL (always mapped from the system folder), ntdll,
# or comctl32, which its manifest binds to the system's side-by-side copy.
# Anything else it needs, it loads itself from the system folder.
#
#   imports_check.sh <objdump> <program.exe>
set -euo pipefail
objdump=${1:?objdump}
program=${2:?program}

allowed=" advapi32 clbcatq combase comdlg32 coml2 difxapi gdi32 gdiplus imagehlp imm32 kernel32 msctf msvcrt
  normaliz nsi ole32 oleaut32 psapi rpcrt4 sechost setupapi shcore shell32 shlwapi user32 wldap32 ws2_32
  ntdll comctl32 "
allowed=$(echo $allowed) # one blank between names
imports=$("$objdump" -p "$program" | awk '/^[[:space:]]*DLL Name:/ { print tolower($3) }')
[ -n "$imports" ] || { echo "no import table read from $program" >&2; exit 1; }

status=0
for dll in $imports; do
  case " $allowed " in
  *" ${dll%.dll} "*) echo "ok   $dll" ;;
  *)
    echo "FAIL $dll: not a known DLL, Windows would look for it beside $(basename "$program") first"
    status=1
    ;;
  esac
done
exit $status
