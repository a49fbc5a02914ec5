#!/usr/bin/env bash
# The windows as a user and a screen reader meet them: exact titles, dialogs with a close box
# only, every focusable control with a name a person would read, and the tray menu working while
# the add dialog is open ("Добавить задание..." brings that dialog forward).
# Usage: run_windows.sh PROGRAM ARTIFACT_DIR
set -uo pipefail

program=$1
artifacts=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d /tmp/zarvo-e2e-windows.XXXXXX)
failure_shot=e2e_windows_failure.png
# shellcheck source=desktop.sh
source "$here/desktop.sh"
trap cleanup EXIT

# The title of window ID read back from the X server, compared whole.
title_is() { [ "$(xdotool getwindowname "$1")" = "$2" ]; }
# Dialogs ask for a close box only: their Motif hints allow moving and closing, no minimize
# (functions bit 8, decorations bit 32) or maximize (16, 64), and the window manager offers no
# maximize. (openbox keeps its own minimize on every window whatever the hints say.)
close_box_only() {
  local hints functions decorations
  xprop -id "$1" _NET_WM_ALLOWED_ACTIONS | grep -q _NET_WM_ACTION_CLOSE || return 1
  xprop -id "$1" _NET_WM_ALLOWED_ACTIONS | grep -q _NET_WM_ACTION_MAXIMIZE && return 1
  hints=$(xprop -id "$1" _MOTIF_WM_HINTS | sed 's/.*= //; s/,//g')
  read -r _ functions decorations _ <<<"$hints"
  [ $((functions & 0x20)) -ne 0 ] && [ $((functions & 0x18)) -eq 0 ] && [ $((decorations & 0x60)) -eq 0 ]
}
names_all_human() {
  local missing
  missing=$(timeout 20 /usr/bin/python3 "$here/atspi_dump.py" unnamed) && return 0
  echo "$missing" >"$work/unnamed"
  return 1
}
check_names() {
  wait_for 10 names_all_human || fail "$1: controls without a human name: $(cat "$work/unnamed")"
}
# A popup menu of the program is on the screen: a visible window of its own besides the main
# window, the dialog and the tray icon (the accessibility tree does not list popup menus).
menu_open() {
  local id size
  for id in $(xdotool search --onlyvisible --class zarvo 2>/dev/null); do
    case $id in "$main" | "$dialog" | "$icon") continue ;; esac
    size=$(size_of "$id")
    [ "${size%x*}" -gt 100 ] && [ "${size#*x}" -gt 100 ] && return 0
  done
  return 1
}

start_desktop
cp "$program" "$work/prog/zarvo"
write_settings
sed -i 's/"auto_hide": 1/"auto_hide": 0/' "$XDG_CONFIG_HOME/Lumenworks/Zarvo1.0.json"

step "main window"
start_program
wait_for 30 has_window_named '^Zarvo$' || fail "the main window did not appear"
main=$(window_named '^Zarvo$')
title_is "$main" "Zarvo" || fail "the main window is titled '$(xdotool getwindowname "$main")'"
wait_for 20 accessible_has "push button|Добавить...|" || fail "the main window's controls are not accessible"
check_names "main window"
wait_for 20 has_tray_icon || fail "no tray icon"

step "add dialog"
press "$main" Insert
wait_for 20 has_window_named '^Добавить' || fail "Insert did not open the add dialog"
dialog=$(window_named '^Добавить')
title_is "$dialog" 'Добавить\редактировать задание' \
  || fail "the add dialog is titled '$(xdotool getwindowname "$dialog")'"
close_box_only "$dialog" || fail "the add dialog offers: $(xprop -id "$dialog" _NET_WM_ALLOWED_ACTIONS _MOTIF_WM_HINTS)"
wait_for 20 accessible_has "check box|Выполнять каждый день|" || fail "the dialog's controls are not accessible"
check_names "add dialog, reminder"
import -window root "$artifacts/e2e_windows_add.png"
for type in 'Запустить программу\документ' 'Напомнить о дне рождения'; do
  focus_control "$type" || fail "cannot focus '$type'"
  xdotool key --clearmodifiers space
  sleep 0.3
  check_names "add dialog, $type"
done

step "tray menu while the add dialog is open"
xdotool windowactivate --sync "$main" >/dev/null 2>&1
icon=$(tray_icon)
xdotool mousemove --window "$icon" 8 8 click 3
wait_for 10 menu_open || fail "the tray menu did not open while the add dialog is open"
import -window root "$artifacts/e2e_windows_tray_menu.png"
xdotool key --clearmodifiers --delay 60 Down Down Return
wait_for 10 test "$(xdotool getactivewindow 2>/dev/null)" = "$dialog" \
  || fail "\"Добавить задание...\" did not bring the add dialog forward"
[ "$(xdotool search --onlyvisible --name '^Добавить' | wc -l)" = 1 ] || fail "a second add dialog opened"
press "$dialog" Escape
wait_for 10 bash -c '! xdotool search --onlyvisible --name "^Добавить" | grep -q .' || fail "Escape did not close"

step "settings dialog"
press_button "Настройки..." || fail "no Настройки... button"
wait_for 20 has_window_named '^Настройки$' || fail "the settings dialog did not open"
settings=$(window_named '^Настройки$')
title_is "$settings" "Настройки" || fail "the settings dialog is titled '$(xdotool getwindowname "$settings")'"
close_box_only "$settings" || fail "the settings dialog offers: $(xprop -id "$settings" _NET_WM_ALLOWED_ACTIONS)"
for tab in 1 2 3; do
  sleep 0.3
  check_names "settings dialog, tab $tab"
  import -window root "$artifacts/e2e_windows_settings_$tab.png"
  press "$settings" ctrl+Tab
done
press "$settings" Escape
wait_for 10 bash -c '! xdotool search --onlyvisible --name "^Настройки$" | grep -q .' || fail "Escape did not close"

step "about window"
press "$main" ctrl+a
wait_for 20 has_window_named '^О программе' || fail "Ctrl+A did not open the About window"
about=$(window_named '^О программе')
title_is "$about" "О программе..." || fail "the About window is titled '$(xdotool getwindowname "$about")'"
close_box_only "$about" || fail "the About window offers: $(xprop -id "$about" _NET_WM_ALLOWED_ACTIONS)"
check_names "About window"
import -window root "$artifacts/e2e_windows_about.png"
press "$about" Return

echo "PASS: titles, close boxes, human names and the tray menu over a dialog"
