#!/usr/bin/env bash
# The Windows 9x paths of the real saver: Wine reports Windows 98 to a copy
# named lumvia9x.scr only, and stand-ins for PASSWORD.CPL and MPR.DLL (built
# by the tests; the real ones do not exist under Wine) lie beside it and log
# their calls.
. "$(dirname "$0")/lib.sh"

standins=$LUMVIA_BUILD/tests/win32/standins
nine=$WORK/nine
mkdir -p "$nine"
cp "$SCR" "$nine/lumvia9x.scr"
cp "$standins/verifier/PASSWORD.CPL" "$standins/mpr/MPR.DLL" "$nine/"
scr=$(winpath "$nine/lumvia9x.scr")
SAVER=$nine/lumvia9x.scr
export LUMVIA_STANDIN_LOG=$(winpath "$WORK")\\calls.log
export LUMVIA_STANDIN_ANSWER_FILE=$(winpath "$WORK")\\answer
log=$WORK/calls.log
host nine lumvia9x.scr on
restore() { host nine lumvia9x.scr off; host usepassword -; cleanup; }
trap restore EXIT

# --- The password change ------------------------------------------------------
out=$(host owner "$scr" '/a %u')
check "/a with a live window ends with 0" "exit 0" "$out"
parent=$(sed -n 's/^PwdChangePasswordA SCRSAVE \([0-9]*\) 0 .*/\1/p' "$log" 2>/dev/null | head -n 1)
if [ -n "$parent" ] && [ "$parent" != 0 ]; then pass "the changer got \"SCRSAVE\" and the window ($parent)"
else fail "the changer was not called with \"SCRSAVE\" and a window: $(cat "$log" 2>/dev/null)"; fi
check "/a 1234 ends with 0 too" "exit 0" "$(host launch "$scr" '/a 1234' 20)"
check "and asks the changer once more" "2" "$(grep -c '^PwdChangePasswordA SCRSAVE' "$log")"

# --- A password in use: a close asks the verifier -----------------------------
host clear
host usepassword 1
echo 0 >"$WORK/answer"
xdotool mousemove 400 300
start_fullscreen /s >/dev/null
xdotool mousemove 600 300   # travel 200: asks for the password, which is refused
deadline=$((SECONDS + PATIENCE))
until grep -q '^VerifyScreenSavePwd [0-9]* 0' "$log" 2>/dev/null || [ $SECONDS -ge $deadline ]; do
  sleep 0.1
done
grep -q '^VerifyScreenSavePwd [0-9]* 0' "$log" && pass "a close asks the verifier" ||
  fail "the verifier was not asked"
kill -0 "$saver_pid" 2>/dev/null && pass "a refused close leaves the saver up" ||
  fail "the saver ended although the password was refused"
check "the refused saver stored its settings once" "5000" "$(stored 'mod1 depth')"

echo 1 >"$WORK/answer"
# Each move beyond 100 pixels from the refusal asks again once the quiet time
# after the last verification is over.
deadline=$((SECONDS + PATIENCE))
x=600
while kill -0 "$saver_pid" 2>/dev/null && [ $SECONDS -lt $deadline ]; do
  x=$((x == 600 ? 400 : 600))
  xdotool mousemove "$x" 300
  sleep 0.3
done
wait_saver_exit
check "an approved close ends the saver with 0" "0" "$saver_exit"
grep -q '^VerifyScreenSavePwd [0-9]* 1' "$log" && pass "the approving call was logged" ||
  fail "no approving call in the log"

# --- No password: nothing is asked ---------------------------------------------
host usepassword 0
: >"$log"
check "without a password the saver closes at once" "exit 0" "$(host saver "$scr" '/s')"
check "and the verifier is never asked" "0" "$(grep -c Verify "$log")"

finish
