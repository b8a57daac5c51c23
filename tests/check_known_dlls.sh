#!/usr/bin/env bash
# Checks that each program of the package loads at start only DLLs that
# Windows takes from the system folder whatever the program's own folder
# holds: its import table names only KnownDLLs, and COMCTL32 only where the
# program's manifest binds it to the system's side-by-side assembly. Every
# other DLL must be delay-loaded and taken from the system folder by the
# program itself (host/system_dlls_win32.h).
# Usage: check_known_dlls.sh OBJDUMP PROGRAM...
set -euo pipefail
objdump=$1; shift
# HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\KnownDLLs of Windows 10 and 11.
known='^(advapi32|clbcatq|combase|comdlg32|coml2|difxapi|gdi32|gdiplus|imagehlp|imm32|kernel32|msctf|msvcrt|normaliz|nsi|ole32|oleaut32|psapi|rpcrt4|sechost|setupapi|shcore|shell32|shlwapi|user32|wldap32|ws2_32)\.dll$'
status=0
for program in "$@"; do
  dlls=$("$objdump" -p "$program" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
  [ -n "$dlls" ] || { echo "$program: no import table found"; status=1; }
  for dll in $dlls; do
    if [[ $dll =~ $known ]]; then continue; fi
    if [ "$dll" = comctl32.dll ] && grep -aq 'Microsoft.Windows.Common-Controls' "$program"; then continue; fi
    echo "$program imports $dll at start, which Windows looks for in the program's folder first"
    status=1
  done
done
[ $status -eq 0 ] && echo "every DLL imported at start comes from the system folder: $*"
exit $status
