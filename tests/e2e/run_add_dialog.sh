#!/usr/bin/env bash
# Adds a reminder through the add/change dialog with the keyboard, the way a user would, and
# checks that it is stored in the task file and fires at its second with the typed message.
# Usage: run_add_dialog.sh PROGRAM ARTIFACT_DIR
set -uo pipefail

program=$1
artifacts=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d /tmp/zarvo-e2e-add.XXXXXX)
failure_shot=e2e_add_dialog_failure.png
# shellcheck source=desktop.sh
source "$here/desktop.sh"
trap cleanup EXIT

# The state of a check box in the accessibility tree: "checked" or "".
check_state() { accessible | awk -F'|' -v n="$1" '$1 == "check box" && $2 == n {print $5; exit}'; }
check_is() { [ "$(check_state "$1")" = "$2" ]; }

# choose_item BACK INDEX: selects item INDEX of a list of the time group with the keyboard. A list
# takes no focus through the accessibility bus, so the focus goes to the button after the lists
# and then BACK lists back with Shift+Tab.
time_group="Установка времени выполнения"
plus_button="+ к установленному времени"
# The controls by the names a screen reader says.
every_day="Выполнять каждый день"
play_sound="Проигрывать звуковой файл (*.wav)"
show_message="Показывать свое напоминающее сообщение"
memo="Напоминающее сообщение"
choose_item() {
  focus_control "$plus_button" || fail "cannot focus $plus_button"
  xdotool key --clearmodifiers --delay 30 --repeat "$1" shift+Tab
  xdotool key --clearmodifiers Home
  [ "$2" -gt 0 ] && xdotool key --clearmodifiers --delay 15 --repeat "$2" Down
}
time_lists() { timeout 20 /usr/bin/python3 "$here/atspi_dump.py" lists "$time_group" | head -n 3 | paste -sd:; }
# Ticks or unticks the check box NAME with the space bar until it is in STATE ("checked" or "").
set_check() {
  check_is "$1" "$2" && return 0
  focus_control "$1" || fail "cannot focus $1"
  xdotool key --clearmodifiers space
  wait_for 10 check_is "$1" "$2" || fail "$1 is '$(check_state "$1")', not '$2'"
}

start_desktop
copy_program "$work/prog"
# Not a first run, and the main window stays on screen at start.
mkdir -p "$work/config/Lumenworks"
cat >"$work/config/Lumenworks/Zarvo1.0.json" <<'JSON'
{
  "Settings": {
    "chk_mes": 0, "chk_sound": 0, "pl_h": "00", "pl_m": "30", "pl_s": "00",
    "sound_fn": "", "prog_fn": "", "simv_count": 15, "auto_run": 0, "auto_hide": 0
  },
  "Window": { "top": 246, "left": 365, "width": 551, "height": 308 }
}
JSON

step "start"
(cd "$work/prog" && exec ./zarvo) &
zarvo_pid=$!
wait_for 30 has_window_named '^Zarvo$' || fail "the main window did not appear"
main=$(window_named '^Zarvo$')
[ ! -e "$work/prog/ztasks.zct" ] || [ -z "$(tr -d '\r\n' <"$work/prog/ztasks.zct")" ] \
  || fail "the task file is not empty at start"

step "open the dialog with Insert"
press "$main" Insert
wait_for 20 has_window_named '^Добавить' || fail "Insert did not open the dialog"
dialog=$(window_named '^Добавить')
xdotool windowactivate --sync "$dialog" >/dev/null 2>&1
wait_for 20 accessible_has "check box|$every_day|" || fail "the dialog's controls are not accessible"
check_is "$play_sound" "" || fail "the sound box is ticked although the settings say otherwise"

step "an every-day reminder with a message"
message="Zarvo e2e $RANDOM"
set_check "$every_day" checked
set_check "$play_sound" ""
set_check "$show_message" checked
focus_control "$memo" || fail "cannot focus the memo"
xdotool key --clearmodifiers ctrl+a BackSpace
xdotool type --delay 20 "$message"
wait_for 10 accessible_has "|$memo|$message|" || fail "the memo does not hold the typed message"

# The lists are set last, so that the reminder is due about twenty seconds after OK.
due_epoch=$(($(date +%s) + 20))
due=$(date -d "@$due_epoch" +%-H:%M:%S)
IFS=: read -r hh mm ss <<<"$due"
choose_item 3 "$hh"
choose_item 2 "$((10#$mm))"
choose_item 1 "$((10#$ss))"
[ "$(time_lists)" = "$hh:$mm:$ss" ] || fail "the time lists show $(time_lists), not $hh:$mm:$ss"
press "$dialog" Return
wait_for 20 bash -c '! xdotool search --onlyvisible --name "^Добавить" | grep -q .' \
  || fail "OK did not close the dialog"
[ "$(date +%s)" -lt "$due_epoch" ] || fail "filling the dialog took past the due time $due"

step "the task file"
expected=$(printf '%%>>\r\n1\r\n%s\r\nNULL\r\n%s \r\nNULL\r\ntrue\r\n' "$due" "$message" | od -An -tx1)
actual=$(od -An -tx1 <"$work/prog/ztasks.zct")
[ "$actual" = "$expected" ] \
  || fail "the task file holds: $(iconv -f CP1251 -t UTF-8 "$work/prog/ztasks.zct" | cat -A)"

step "the reminder due at $due"
# Each look starts at a known moment: the window must be absent at every look that begins before
# the due second and present at the first look that ends after it.
appeared=
until [ -n "$appeared" ]; do
  started=$(date +%s%N)
  if has_window_named '^Напоминаем'; then
    appeared=$started
    found=$(date +%s%N)
    break
  fi
  [ $((started / 1000000000)) -gt $((due_epoch + 10)) ] && fail "the reminder window did not appear by $due"
  last_absent=$started
  sleep 0.05
done
[ $((found / 1000000000)) -ge "$due_epoch" ] \
  || fail "the reminder appeared before $due (at $(date -d "@$((found / 1000000000))" +%T))"
[ $((${last_absent:-0} / 1000000000)) -le "$due_epoch" ] \
  || fail "the reminder appeared after its second $due (still absent at $(date -d "@$((last_absent / 1000000000))" +%T))"
import -window root "$artifacts/e2e_add_dialog_reminder.png" || fail "no screenshot"
wait_for 20 accessible_has "|Сообщение|$message" || fail "the reminder does not show '$message'"
press "$(window_named '^Напоминаем')" Return
wait_for 20 bash -c '! xdotool search --onlyvisible --name "^Напоминаем" | grep -q .' \
  || fail "Enter did not close the reminder"

echo "PASS: a reminder added in the dialog fired at $due"
