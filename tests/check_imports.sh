#!/usr/bin/env bash
# Checks that each Windows program imports only system DLLs, so that it runs
# without any MinGW runtime DLL beside it.
# Usage: check_imports.sh OBJDUMP PROGRAM...
set -euo pipefail
objdump=$1; shift
allowed='^(kernel32|user32|gdi32|advapi32|opengl32|glu32|comctl32|winmm|msvcrt|shell32|ole32|imm32|version|ntdll|ws2_32|api-ms-win-crt-[a-z0-9-]+)\.dll$'
status=0
for program in "$@"; do
  dlls=$("$objdump" -p "$program" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
  [ -n "$dlls" ] || { echo "$program: no import table found"; status=1; }
  for dll in $dlls; do
    if ! [[ $dll =~ $allowed ]]; then
      echo "$program imports $dll, which is not a system DLL"
      status=1
    fi
  done
done
exit $status
