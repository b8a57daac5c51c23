#!/usr/bin/env bash
# The folders are layers: each may include only from itself and the folders
# below it. host/ (the Windows program), x11/ and wayland/ (the Linux
# program's two front ends, over linux_program/), daemon/ (its idle watcher)
# and settings_window/ (its settings window) are at the top, side by side:
# none includes another, and host/ nothing of linux_program/. Only a file
# named *_win32 may include <windows.h> or a *_win32.h header (which may
# include it in turn).
# Prints every include that breaks a rule, as FILE:LINE, and fails if there is
# one. Tests and tools may include anything and are not checked.
#
#   tests/check_layers.sh [SOURCE_DIR]
set -uo pipefail
cd "${1:-$(dirname "$0")/..}"

# Top to bottom. Folders on one line share a rank and never include each other.
layers=("host x11 wayland daemon settings_window" linux_program dialogs frames controls settings scenes render core platform resources)

rank() {
  local i
  for i in "${!layers[@]}"; do
    case " ${layers[$i]} " in *" $1 "*) echo "$i"; return ;; esac
  done
  echo -1
}

status=0
for folder in ${layers[*]}; do
  [ -d "$folder" ] || continue
  own=$(rank "$folder")
  while IFS=: read -r file line target; do
    used=$(rank "$target")
    if [ "$used" -ge 0 ] && [ "$used" -lt "$own" ]; then
      echo "$file:$line: $folder/ includes $target/, a higher layer"
      status=1
    elif [ "$used" -eq "$own" ] && [ "$target" != "$folder" ]; then
      echo "$file:$line: $folder/ includes $target/, beside it at the top"
      status=1
    elif [ "$folder/$target" = host/linux_program ]; then
      echo "$file:$line: host/ includes linux_program/, the Linux program's own"
      status=1
    fi
  done < <(grep -rnE '^\s*#\s*include\s+"[a-z_0-9]+/' "$folder" |
           sed -E 's#^([^:]+):([0-9]+):.*"([a-z_0-9]+)/.*#\1:\2:\3#')
  while IFS=: read -r file line text; do
    case "$(basename "$file")" in *_win32.*) continue ;; esac
    header=$(sed -E 's|^\s*#\s*include\s*([<"][^>"]+[>"]).*|\1|' <<<"$text")
    echo "$file:$line: includes $header, which only a *_win32 file may"
    status=1
  done < <(grep -rniE --include='*.[ch]' --include='*.cpp' \
             '^\s*#\s*include\s*(<windows\.h>|"[^"]*_win32\.h")' "$folder")
done
[ $status -eq 0 ] &&
  echo "every include points down the layers (${layers[*]}); <windows.h> only in *_win32 files"
exit $status
