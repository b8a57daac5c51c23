#!/usr/bin/env bash
# scripts/runs-32bit decides by running the program: one that runs, and the
# same file with its ELF machine field changed, which the kernel refuses with
# "Exec format error" as a kernel without IA-32 emulation refuses every i386
# program.
#
#   tests/runs_32bit_test.sh SOURCE_DIR
set -uo pipefail
probe=$1/scripts/runs-32bit
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$1/tests/report.sh"

cp /bin/true "$work/runs"
cp /bin/true "$work/refused"
printf '\x00\x00' | dd of="$work/refused" bs=1 seek=18 conv=notrunc 2>/dev/null   # e_machine: none

why=$("$probe" "$work/runs"); status=$?
check "a program that runs: yes, nothing said" "0:" "$status:$why"
why=$("$probe" "$work/refused"); status=$?
check "a program the kernel refuses: no, and why" \
  "1:the kernel refuses 32-bit programs: Exec format error" "$status:$why"

finish
