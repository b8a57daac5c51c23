#!/usr/bin/env bash
# The built installer package's tables, as Windows Installer reads them: the
# Start-menu shortcut runs the package's launcher, not an .scr (which Windows
# would open with "/S"), with no arguments, and sits in a component of its own
# kept by a per-user registry value; both programs carry their version, so
# that an older copy never wins over them; and the x86 package refuses 64-bit
# Windows, naming the x64 package.
#
#   tests/e2e/installer_tables_test.sh PACKAGE ARCH VERSION
set -uo pipefail
msi=$1 arch=$2 version=$3
failures=0
check() {  # check WHAT EXPECTED ACTUAL
  if [ "$2" = "$3" ]; then echo "ok: $1"; else echo "FAIL: $1: expected '$2', got '$3'"; failures=$((failures + 1)); fi
}
# The rows of a table, without its three header lines; fields are tab-separated.
rows() { msiinfo export "$msi" "$1" | tr -d '\r' | tail -n +4; }
# Field N of the row of TABLE whose field 1 is KEY.
field() { rows "$1" | awk -F'\t' -v key="$2" -v n="$3" '$1 == key { print $n }'; }

shortcut=$(rows Shortcut | awk -F'\t' '$3 == "Lumvia Settings" { print $1 }')
check "one shortcut \"Lumvia Settings\"" "1" "$(grep -c . <<<"$shortcut")"
target=$(field Shortcut "$shortcut" 5)
check "it runs the launcher" "[#lumvia_settings.exe]" "$target"
check "which is a program, not an .scr" "lumvia-settings.exe" \
  "$(field File "$(sed 's/^\[#\(.*\)\]$/\1/' <<<"$target")" 3)"
check "with no arguments" "" "$(field Shortcut "$shortcut" 6)"
for file in lumvia.scr lumvia_settings.exe; do
  check "$file has its version" "$version.0" "$(field File "$file" 5)"
done

component=$(field Shortcut "$shortcut" 4)
check "its component holds no file" "" "$(rows File | awk -F'\t' -v c="$component" '$2 == c')"
attributes=$(field Component "$component" 4)
check "its key path is a registry value" "4" "$(( attributes & 4 ))"
keypath=$(field Component "$component" 6)
check "of the current user (HKCU)" "1" "$(field Registry "$keypath" 2)"
check "not under the settings key" "Software\\Tessaron\\Lumvia Installer" "$(field Registry "$keypath" 3)"

condition=$(rows LaunchCondition | awk -F'\t' '$1 ~ /VersionNT64/')
if [ "$arch" = x86 ]; then
  check "the x86 package refuses 64-bit Windows unless it is installed already" \
    "Installed OR NOT VersionNT64" "$(cut -f1 <<<"$condition")"
  message=$(cut -f2 <<<"$condition")
  [[ $message == *"lumvia-$version-x64.msi"* ]] && echo "ok: its message names the x64 package" ||
    { echo "FAIL: the message '$message' does not name lumvia-$version-x64.msi"; failures=$((failures + 1)); }
else
  check "the x64 package has no condition on the word size" "" "$condition"
fi

[ "$failures" -eq 0 ] && echo "all passed" && exit 0
echo "$failures failed"
exit 1
