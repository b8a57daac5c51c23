#!/usr/bin/env bash
# The folders are layers: each may include only from itself and the folders
# below it. Prints every include that points up, as FILE:LINE, and fails if
# there is one. Tests and tools may include anything and are not checked.
#
#   tests/check_layers.sh [SOURCE_DIR]
set -uo pipefail
cd "${1:-$(dirname "$0")/..}"

# Top to bottom; host/ (Windows) and x11/ (Linux) are the two programs at the top.
layers=(host x11 dialogs frames controls scenes render settings core platform resources)

rank() {
  local i
  for i in "${!layers[@]}"; do [ "${layers[$i]}" = "$1" ] && { echo "$i"; return; }; done
  echo -1
}

status=0
for folder in "${layers[@]}"; do
  [ -d "$folder" ] || continue
  own=$(rank "$folder")
  while IFS=: read -r file line target; do
    used=$(rank "$target")
    if [ "$used" -ge 0 ] && [ "$used" -lt "$own" ]; then
      echo "$file:$line: $folder/ includes $target/, a higher layer"
      status=1
    fi
  done < <(grep -rnE '^\s*#\s*include\s+"[a-z_]+/' "$folder" |
           sed -E 's#^([^:]+):([0-9]+):.*"([a-z_]+)/.*#\1:\2:\3#')
done
[ $status -eq 0 ] && echo "every include points down the layers: ${layers[*]}"
exit $status
