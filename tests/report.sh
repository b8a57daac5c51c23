# What every shell test shares: each check says "ok:" or "FAIL:" with what it
# checked, the failures are counted, and finish ends the test with 0 or 1.
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }
check() {  # check WHAT EXPECTED ACTUAL: fails (and returns 1) when they differ
  if [ "$2" = "$3" ]; then pass "$1"; else fail "$1: expected '$2', got '$3'"; return 1; fi
}
finish() {
  if [ "$failures" -eq 0 ]; then echo "all passed"; exit 0; fi
  echo "$failures failed"
  exit 1
}
