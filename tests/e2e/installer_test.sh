#!/usr/bin/env bash
# The installer package under Wine's msiexec: what an install puts where, the
# Add/Remove Programs entry, the installed saver and its Start-menu shortcut
# (started through the shell, with the .scr file type as Windows has it),
# an upgrade to a newer version, the refused downgrade, an uninstall that
# removes everything it installed and keeps the user's settings, and the x86
# package refused by 64-bit Windows.
# LUMVIA_MSI is the build's package of version LUMVIA_VERSION, LUMVIA_MSI_NEWER
# the same saver packaged as the newer LUMVIA_NEWER_VERSION, LUMVIA_MSI_X86
# (empty in the x86 build) its saver packaged by the x86 package's rules.
. "$(dirname "$0")/lib.sh"
: "${LUMVIA_MSI:?}" "${LUMVIA_MSI_NEWER:?}" "${LUMVIA_VERSION:?}" "${LUMVIA_NEWER_VERSION:?}"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
# The 32-bit package in a 64-bit prefix goes where 64-bit Windows keeps
# 32-bit programs.
folder=system32
if msiinfo suminfo "$LUMVIA_MSI" | grep -q '^Template: Intel' && [ -d "$WINEPREFIX/drive_c/windows/syswow64" ]; then
  folder=syswow64
fi
installed=$WINEPREFIX/drive_c/windows/$folder/lumvia.scr
LAUNCHER=$LUMVIA_BUILD/lumvia-settings.exe
kib=$(( ($(stat -c %s "$SCR") + 1023) / 1024 + ($(stat -c %s "$LAUNCHER") + 1023) / 1024 ))

msiexec() { wine_run msiexec "$@" >/dev/null 2>&1; }
# One line per Uninstall entry named "Lumvia": its key, version and size.
entries() {
  wine_run reg query "$uninstall_key" /s 2>/dev/null | tr -d '\r' | awk '
    function flush() { if (name == "Lumvia") print key, version, size; name = version = size = "" }
    /^HKEY/ { flush(); key = $0; sub(/.*\\/, "", key) }
    $1 == "DisplayName" { name = $3 }
    $1 == "DisplayVersion" { version = $3 }
    $1 == "Size" { size = $3 }
    END { flush() }'
}
entry_versions() { entries | awk '{ print $2 }' | tr '\n' ' ' | sed 's/ $//'; }
shortcuts() { find "$WINEPREFIX/drive_c" -name 'Lumvia Settings.lnk' 2>/dev/null; }
launchers() { find "$WINEPREFIX/drive_c" -path '*/Lumvia/lumvia-settings.exe' 2>/dev/null; }
# The per-user value that keeps the shortcut's component.
shortcut_key() {
  wine_run reg query 'HKCU\Software\Tessaron\Lumvia Installer' /v 'Settings shortcut' 2>/dev/null |
    tr -d '\r' | sed -n 's/^ *Settings shortcut *REG_DWORD *//p'
}

# Whatever an earlier run left installed goes first.
for code in $(entries | awk '{ print $1 }'); do msiexec /x "$code" /qn; done
host clear
host set "cycle time" 42   # the user's settings, which outlive the saver

# --- Install --------------------------------------------------------------------
msiexec /i "$(winpath "$LUMVIA_MSI")" /qn
check "the package installs" "0" "$?"
[ -f "$installed" ] && pass "lumvia.scr is in $folder" || fail "no lumvia.scr in $folder"
cmp -s "$SCR" "$installed" && pass "it is the built saver" || fail "the installed file differs"
launcher=$(launchers | head -n 1)
[ -n "$launcher" ] && cmp -s "$LAUNCHER" "$launcher" && pass "lumvia-settings.exe is in Program Files\\Lumvia" ||
  fail "no lumvia-settings.exe in Program Files\\Lumvia ('$launcher')"
check "one entry named Lumvia, with the version and the size in KiB" "$LUMVIA_VERSION $kib" \
  "$(entries | cut -d' ' -f2-)"
icon=$(wine_run reg query 'HKLM\Software\Classes\Installer\Products' /s 2>/dev/null | tr -d '\r' |
  sed -n 's/^ *ProductIcon *REG_SZ *//p' | head -n 1)
if [ -n "$icon" ] && cmp -s "$LUMVIA_SOURCE/resources/lumvia.ico" "$(wine_run winepath -u "$icon" 2>/dev/null)"; then
  pass "the entry shows the saver's icon"
else
  fail "the entry's icon is '$icon'"
fi

# The pointer where the saver starts, as in every test of the full-screen
# saver: a travel of more than 100 from where the saver started ends it, and
# the test before left the pointer wherever it did. Drawing counts only while
# the saver runs, and Esc only if it was still running to take it.
xdotool mousemove 640 512
if SAVER=$installed start_fullscreen /s >/dev/null; then
  drawn=$(wait_for_sprite_colour)
  if ! saver_running; then
    wait_saver_exit
    fail "the installed saver ended by itself (exit $saver_exit) before Esc"
  else
    [ "$drawn" -gt 0 ] && pass "the installed saver draws" || fail "the installed saver draws nothing"
    xdotool key Escape
    wait_saver_exit
    check "and ends with Esc" "0" "$saver_exit"
    end_leftover
  fi
fi

# Windows opens an .scr through its file type, which adds "/S": the
# shortcut, started through the shell as the Start menu does, must still open
# the settings and no saver.
scr_type='HKCR\scrfile\shell\open\command'
lnk=$(shortcuts | head -n 1)
if [ -n "$lnk" ]; then
  wine_run reg add 'HKCR\.scr' /ve /d scrfile /f >/dev/null 2>&1
  wine_run reg add "$scr_type" /ve /d '"%1" /S' /f >/dev/null 2>&1
  wine_run start /unix "$lnk" >/dev/null 2>&1 &
  starter=$!
  if wait_for_window "Lumvia Settings" >/dev/null; then
    pass "the shortcut \"Lumvia Settings\" opens the settings"
    xdotool search --name '^Screen Saver$' >/dev/null 2>&1 && fail "and a saver as well" ||
      pass "and no saver"
    host press "Lumvia Settings" 2 >/dev/null   # Cancel
    wait_window_gone "Lumvia Settings" || fail "the settings stayed open"
  else
    fail "the shortcut opened no settings dialog"
  fi
  wait "$starter"
  wine_run reg delete 'HKCR\scrfile' /f >/dev/null 2>&1
  wine_run reg delete 'HKCR\.scr' /f >/dev/null 2>&1
else
  fail "no Start-menu shortcut \"Lumvia Settings\""
fi
check "the installing user's value keeps the shortcut" "0x1" "$(shortcut_key)"

# --- Upgrade and downgrade -----------------------------------------------------
msiexec /i "$(winpath "$LUMVIA_MSI_NEWER")" /qn
check "the newer package installs over it" "0" "$?"
check "one entry is left, of the newer version" "$LUMVIA_NEWER_VERSION" "$(entry_versions)"
msiexec /i "$(winpath "$LUMVIA_MSI")" /qn && fail "the older package installed over the newer" ||
  pass "the older package is refused"
check "and the newer entry stays" "$LUMVIA_NEWER_VERSION" "$(entry_versions)"

# --- Uninstall -------------------------------------------------------------------
msiexec /x "$(winpath "$LUMVIA_MSI_NEWER")" /qn
check "the package uninstalls" "0" "$?"
[ ! -e "$installed" ] && pass "lumvia.scr is gone" || fail "lumvia.scr is still there"
check "lumvia-settings.exe is gone" "" "$(launchers)"
check "the shortcut is gone" "" "$(shortcuts)"
check "and the value that kept it" "" "$(shortcut_key)"
check "the entry is gone" "" "$(entries)"
check "the user's settings are kept" "42" "$(stored 'cycle time')"
host clear

# --- The x86 package on 64-bit Windows -------------------------------------------
if [ -n "${LUMVIA_MSI_X86:-}" ]; then
  msiexec /i "$(winpath "$LUMVIA_MSI_X86")" /qn && fail "the x86 package installed on 64-bit Windows" ||
    pass "the x86 package refuses 64-bit Windows"
  check "and leaves no entry" "" "$(entries)"
  [ ! -e "$WINEPREFIX/drive_c/windows/syswow64/lumvia.scr" ] && pass "and no file" ||
    fail "it left lumvia.scr in syswow64"
fi

finish
