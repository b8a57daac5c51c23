# Shared by the end-to-end tests of both programs: whether the screen shows
# the sprite's dark red (red well above green and blue). The caller sets WORK
# (a scratch folder) and PATIENCE (seconds).

# sprite_pixels FILE [WxH+X+Y]: the number of such samples among 320 x 256
# taken over the picture, or over that part of it.
sprite_pixels() {
  local crop=()
  [ -n "${2:-}" ] && crop=(-crop "$2" +repage)
  convert "$1" "${crop[@]}" -resize 320x256\! txt:- 2>/dev/null |
    sed -n 's/.*(\([0-9.]*\),\([0-9.]*\),\([0-9.]*\).*/\1 \2 \3/p' |
    awk '$1 > 60 && $1 > 2 * $2 + 20 && $1 > 2 * $3 + 20 { n++ } END { print n + 0 }'
}

# wait_for_sprite_colour [WxH+X+Y]: polls screenshots of the whole screen
# until one shows more than 50 such samples (in that part of it); prints the
# count, or 0 and fails when the patience runs out.
wait_for_sprite_colour() {
  local deadline=$((SECONDS + PATIENCE)) red
  while [ $SECONDS -lt $deadline ]; do
    import -window root "$WORK/screen.png" 2>/dev/null
    red=$(sprite_pixels "$WORK/screen.png" "${1:-}")
    if [ "$red" -gt 50 ]; then echo "$red"; return 0; fi
    sleep 0.2
  done
  echo 0
  return 1
}
