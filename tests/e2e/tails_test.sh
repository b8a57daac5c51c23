#!/usr/bin/env bash
# The command tails and their exit codes, run through e2e_host so that every
# byte of the command line is exactly the one given.
. "$(dirname "$0")/lib.sh"
scr=$(winpath "$SCR")

# Tails that end at once with -1 (255 as a process exit code is printed as -1
# by the helper, which reads the full 32-bit code).
for tail in '/p:1234' '/p 0' '/p' '/p 77' '/l 77' '-\ts' '/\ts' '/x' '9' '/a 1234'; do
  check "tail '$tail' ends with -1" "exit -1" "$(host launch "$scr" "$tail" 20)"
done

# Tails that start the full-screen saver; the helper closes it once it shows.
for tail in '/s' '-S' ' s' 's' '/s /c' '\t/s' '-/ -s'; do
  check "tail '$tail' runs the saver" "exit 0" "$(host saver "$scr" "$tail")"
done

# A program path in double quotes with blanks in it is skipped whole.
mkdir -p "$WORK/Saver Pack"
cp "$SCR" "$WORK/Saver Pack/lumvia.scr"
check "quoted path with blanks" "exit 0" "$(host saver "$(winpath "$WORK/Saver Pack/lumvia.scr")" '/s')"
check "quoted path with blanks, dead preview" "exit -1" \
  "$(host launch "$(winpath "$WORK/Saver Pack/lumvia.scr")" '/p 0' 20)"

finish
