#!/usr/bin/env bash
# Fails when a program imports a library that Windows would look for in the
# program's own folder before the system folder. vrk.exe runs with
# administrator rights from a folder every local user may write to: what it
# imports must be a known DLL (always mapped from the system folder), ntdll,
# or comctl32, which its manifest binds to the system's side-by-side copy.
# Anything else it needs, it loads itself from the system folder.
#
# Fails too on any 8-bit (A) function that has a wide (W) twin: every path and
# text crosses to Windows as UTF-16, or a letter outside the ANSI code page
# (an installation folder named in Cyrillic) becomes a question mark. That is
# read from the import table, and from the sources of the program's own
# folders for what is called, or looked up by name, beyond it.
#
#   imports_check.sh <objdump> <nm> <compiler> <program.exe> <source root>
set -euo pipefail
objdump=${1:?objdump}
nm=${2:?nm}
compiler=${3:?compiler}
program=${4:?program}
sources=${5:?source root}

allowed=" advapi32 clbcatq combase comdlg32 coml2 difxapi gdi32 gdiplus imagehlp imm32 kernel32 msctf msvcrt
  normaliz nsi ole32 oleaut32 psapi rpcrt4 sechost setupapi shcore shell32 shlwapi user32 wldap32 ws2_32
  ntdll comctl32 "
allowed=$(echo $allowed) # one blank between names
# The threading runtime linked in (libwinpthread) makes unnamed events and
# semaphores and writes its debug output through these: no text passes.
runtime_ansi=" CreateEventA CreateSemaphoreA OutputDebugStringA "

table=$("$objdump" -p "$program" | awk '/^[[:space:]]*DLL Name:/ { dll = tolower($3) }
  dll && NF == 3 && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ { print dll, $3 }
  /^[[:space:]]*DLL Name:/ { print dll }')
imports=$(awk 'NF == 1' <<<"$table" | sort -u)
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

# Whether the DLL's import library names the function.
declare -A symbols
exports() { # exports <dll> <function>
  local library
  if [ -z "${symbols[$1]+set}" ]; then
    library=$("$compiler" -print-file-name="lib${1%.dll}.a")
    symbols[$1]=$([ -f "$library" ] && "$nm" -g "$library" 2>/dev/null | awk '{ print $NF }')
  fi
  grep -qxE "_*(imp_)?_*$2" <<<"${symbols[$1]}"
}
ansi=0
while read -r dll function; do
  case "$function" in *[a-z0-9]A) ;; *) continue ;; esac
  case "$runtime_ansi" in *" $function "*) continue ;; esac
  if exports "$dll" "${function%A}W"; then
    echo "FAIL $dll $function: an 8-bit function, its wide twin ${function%A}W takes every letter"
    ansi=$((ansi + 1))
  fi
done < <(awk 'NF == 2' <<<"$table")
[ "$ansi" -eq 0 ] && echo "ok   no 8-bit function with a wide twin is imported" || status=1

# Called or looked up by name (GetProcAddress) in the program's own folders.
found=$(cd "$sources" && grep -rnE --include='*.cpp' --include='*.h' \
  '"[A-Za-z0-9_]*[a-z0-9]A"|\b[A-Z][A-Za-z0-9]*[a-z0-9]A[[:space:]]*\(' \
  host/platform/win32 ui/toolkit/win32 app | grep -vE '^[^:]+:[0-9]+:[[:space:]]*//' || true)
if [ -n "$found" ]; then
  echo "FAIL 8-bit functions in the sources:"
  echo "$found"
  status=1
else
  echo "ok   no 8-bit function called or looked up in host/platform/win32, ui/toolkit/win32, app"
fi
exit $status
