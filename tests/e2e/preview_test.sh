#!/usr/bin/env bash
# The preview inside a live parent window made by e2e_host: the number forms,
# the preview's shape, its close leaving the stored settings alone, its end
# when the parent is destroyed, and a full-screen saver starting while a
# preview runs.
. "$(dirname "$0")/lib.sh"
scr=$(winpath "$SCR")

for tail in '/p %u' '/p%u' '/l %u' '-P   %u'; do
  out=$(host preview "$scr" "$tail")
  check "tail '$tail' shows the preview filling its parent" "preview 200x150 in 200x150" \
    "$(grep '^preview' <<<"$out")"
  check "tail '$tail' ends with 0 when the preview closes" "exit 0" "$(grep '^exit' <<<"$out")"
done

# What the settings dialog saved stays as it was when the preview closes.
host clear
host set "mod1 depth" 7000
host set "cycle time" 42
host preview "$scr" '/p %u' >/dev/null
check "the preview's close leaves the stored settings alone" $'cycle time=42\nmod1 depth=7000' \
  "$(host values | sort)"

# The Display control panel ends a preview by destroying its own window.
for tail in '/p %u' '/l %u'; do
  host clear
  host set "mod1 depth" 7000
  check "tail '$tail' ends with 0 within 2 s once its parent is destroyed" "exit 0" \
    "$(host orphan "$scr" "$tail")"
  check "and writes nothing" "mod1 depth=7000" "$(host values)"
done

out=$(host beside "$scr" '/p %u')
check "a full-screen saver starts beside a running preview" "saver exit 0" "$(grep '^saver' <<<"$out")"
check "and the preview ends normally afterwards" "preview exit 0" "$(grep '^preview' <<<"$out")"

finish
