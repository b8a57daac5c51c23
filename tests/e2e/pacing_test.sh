#!/usr/bin/env bash
# The real saver's frame pacing: lumvia.scr /s on a 640x480 screen (a Wine
# virtual desktop inside the test's display), every buffer swap timed from a
# relay trace of gdi32.SwapBuffers. Frames start 30 ms apart, so the median
# interval between two swaps lies within 29.5 and 32 ms. No module is
# enabled: the frames are paced and swapped as always but nothing is drawn,
# so that a loaded machine still makes every frame in time; what drawing
# costs is measured by scripts/bench.
. "$(dirname "$0")/lib.sh"

relay_key='HKCU\Software\Wine\Debug'
run_seconds=6
skip_frames=30   # the first second: start-up, the first frames

host clear
for m in $(seq 1 10); do host set "mod$m active" 0; done
wine_run reg add "$relay_key" /v RelayInclude /d gdi32.SwapBuffers /f >/dev/null 2>&1
out=$(WINEDEBUG=+timestamp,+relay wine_run explorer /desktop=LumviaPacing,640x480 \
  "$HOST" saver "$(winpath "$SCR")" /s "$run_seconds" 2>"$WORK/trace" | tr -d '\r')
wine_run reg delete "$relay_key" /v RelayInclude /f >/dev/null 2>&1
check "the saver ran and ended with 0" "exit 0" "$out"

stats=$(sed -n 's/^\([0-9.]*\):.*Call gdi32\.SwapBuffers.*/\1/p' "$WORK/trace" |
  tail -n +$((skip_frames + 1)) | "$LUMVIA_SOURCE/scripts/frame-intervals")
read -r _ frames _ min _ median _ p99 <<<"$stats"
echo "swap intervals at 640x480: $stats"
if [ "$frames" -ge 60 ]; then pass "$frames frames traced"; else fail "only $frames frames traced"; fi
if awk -v m="$median" 'BEGIN { exit !(m >= 29.5 && m <= 32) }'; then
  pass "the median interval is $median ms"
else
  fail "the median interval is $median ms, not within 29.5 and 32"
fi

finish
