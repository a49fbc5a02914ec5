#!/usr/bin/env bash
# Runs the real program on a private desktop (Xvfb, openbox, the trayer notification area, a
# private D-Bus with the accessibility bus) and drives it with xdotool, the way a user would:
# first run, restoring from the tray, a second copy, a reminder firing, and exit from the tray.
# Usage: run_program.sh PROGRAM HELP_FILE ARTIFACT_DIR
set -uo pipefail

program=$1
help_file=$2
artifacts=$3
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d /tmp/zarvo-e2e.XXXXXX)
# shellcheck source=desktop.sh
source "$here/desktop.sh"
trap cleanup EXIT

task_state() { iconv -f CP1251 -t UTF-8 "$work/prog/ztasks.zct" | tr -d '\r' | sed -n 7p; }
state_is() { [ "$(task_state)" = "$1" ]; }
settings_file="$work/config/Lumenworks/Zarvo1.0.json"
window_setting() {
  /usr/bin/python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["Window"][sys.argv[2]])' \
    "$settings_file" "$1"
}

# ---- a fresh user and a private desktop ----
start_desktop
copy_program "$work/prog"
cp "$help_file" "$work/prog/zhelp.hlp"

# An every-day reminder due a little later, in the task file beside the program.
due=$(date -d "+30 seconds" +%-H:%M:%S)
printf '%%>>\r\n1\r\n%s\r\nNULL\r\nПроверка связи \r\nNULL\r\ntrue\r\n' "$due" \
  | iconv -f UTF-8 -t CP1251 >"$work/prog/ztasks.zct"

# ---- first run: greeting, help at its first-run topic, then only the tray icon ----
step "first run"
(cd "$work/prog" && exec ./zarvo) &
zarvo_pid=$!
wait_for 30 has_window_named '^Zarvo$' || fail "no greeting box"
wait_for 20 accessible_has "запущена на вашем компьютере впервые" || fail "the greeting text is not shown"
press_button OK || fail "no OK button on the greeting"
wait_for 20 has_window_named '^Справка Zarvo' || fail "no help window after the greeting"
topic_line=$(awk '/^\[SHZ_contents0013\]/{f=1; next} /^\[SHZ_/{f=0} f && NF {sub(/^#+ */, ""); print; exit}' \
  "$help_file")
wait_for 20 accessible_has "$topic_line" || fail "the help window does not show SHZ_contents0013 ($topic_line)"
press "$(window_named '^Справка Zarvo')" alt+F4
wait_for 20 has_tray_icon || fail "no tray icon"
wait_for 10 bash -c '! xdotool search --onlyvisible --name "^(Zarvo|Справка Zarvo)" | grep -q .' \
  || fail "a window is still visible after the first start"
[ -f "$settings_file" ] || fail "the settings file was not written"

# ---- double-click on the tray icon: the main window, centred at its design size ----
step "restore from the tray"
icon=$(tray_icon)
xdotool mousemove --window "$icon" 8 8 click --repeat 2 --delay 80 1
wait_for 20 has_window_named '^Zarvo$' || fail "the main window did not appear"
main=$(window_named '^Zarvo$')
wait_for 10 test "$(size_of "$main")" = 551x308 || fail "main window is $(size_of "$main"), not 551x308"
# The frame's place: the client's absolute place less the frame's left and top extents.
X=$(xwininfo -id "$main" | awk -F: '/Absolute upper-left X/{print $2+0}')
Y=$(xwininfo -id "$main" | awk -F: '/Absolute upper-left Y/{print $2+0}')
extents=$(xprop -id "$main" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
read -r fl _fr ft _fb <<<"${extents:-0 0 0 0}"
frame_x=$((X - fl))
frame_y=$((Y - ft))
expected_x=$((1280 / 2 - 551 / 2))
expected_y=$((800 / 2 - 308 / 2))
[ "$frame_x" = "$expected_x" ] && [ "$frame_y" = "$expected_y" ] \
  || fail "main window at $frame_x,$frame_y, not centred at $expected_x,$expected_y"
import -window root "$artifacts/e2e_main_window.png" || fail "no screenshot"

# ---- a second copy says so and ends with 1 ----
step "second copy"
(cd "$work/prog" && exec ./zarvo) &
second=$!
wait_for 20 has_window_named '^zarvo$' || fail "the second copy showed no message"
wait_for 20 accessible_has "Программа уже запущена." || fail "the second copy's message is not shown"
press_button OK || fail "no OK button on the second copy's message"
wait_for 20 process_gone "$second" || fail "the second copy did not end"
wait "$second"
rc=$?
[ "$rc" = 1 ] || fail "the second copy ended with $rc, not 1"
kill -0 "$zarvo_pid" || fail "the first copy ended too"

# ---- the reminder fires; its window; falseM, then true again ----
step "reminder due at $due"
wait_for 90 has_window_named '^Напоминаем' || fail "the reminder window did not appear"
import -window root "$artifacts/e2e_reminder.png" || fail "no screenshot"
wait_for 5 state_is falseM || fail "the fired task is '$(task_state)', not falseM"
press "$(window_named '^Напоминаем')" Return
wait_for 20 bash -c '! xdotool search --onlyvisible --name "^Напоминаем" | grep -q .' \
  || fail "OK did not close the reminder"
wait_for 20 state_is true || fail "the task was not re-armed: '$(task_state)'"

# ---- exit from the tray menu: farewell, geometry saved, exit code 0 ----
step "exit from the tray menu"
icon=$(tray_icon)
windows_before=$(xdotool search --onlyvisible --class zarvo | wc -l)
more_windows() { [ "$(xdotool search --onlyvisible --class zarvo | wc -l)" -gt "$windows_before" ]; }
# The farewell lives for half a second: the root window's events record its creation. A property
# set on the root window shows that the recording runs before anything is opened.
xev -root -event substructure -event property >"$work/xev.log" 2>/dev/null &
pids+=($!)
xev_listening() {
  xprop -root -f _ZARVO_E2E_PING 8s -set _ZARVO_E2E_PING "$RANDOM"
  grep -q _ZARVO_E2E_PING "$work/xev.log"
}
wait_for 20 xev_listening || fail "no events of the root window"
xdotool mousemove --window "$icon" 8 8 click 3
wait_for 20 more_windows || fail "no tray menu"
xdotool key Up Return
farewell_created() { grep -q 'width 285, height 85' "$work/xev.log"; }
wait_for 20 farewell_created || fail "no farewell window"
wait_for 20 process_gone "$zarvo_pid" || fail "the program did not end"
wait "$zarvo_pid"
rc=$?
zarvo_pid=
[ "$rc" = 0 ] || fail "the program ended with $rc, not 0"
[ "$(window_setting width)" = 551 ] && [ "$(window_setting height)" = 308 ] \
  && [ "$(window_setting left)" = "$expected_x" ] && [ "$(window_setting top)" = "$expected_y" ] \
  || fail "saved geometry is $(cat "$settings_file")"

echo "PASS: first run, tray, second copy, reminder, exit"
