#!/usr/bin/env bash
# The missed-task report of the real program: with "missed_report" on and an active one-shot
# reminder that was due an hour before the start, the window "Пропущенные задания" appears and
# lists it; "Показать" opens its notice; the task file is not changed.
# Usage: run_missed.sh PROGRAM ARTIFACT_DIR
set -uo pipefail

program=$1
artifacts=$2
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d /tmp/zarvo-e2e.XXXXXX)
failure_shot=e2e_missed_failure.png
# shellcheck source=desktop.sh
source "$here/desktop.sh"
trap cleanup EXIT

task_file="$work/prog/ztasks.zct"
start_desktop
copy_program "$work/prog"
write_settings
# The same settings with the report turned on.
sed -i 's/"auto_hide": 1}/"auto_hide": 1, "missed_report": 1}/' "$XDG_CONFIG_HOME/Lumenworks/Zarvo1.0.json"
grep -q '"missed_report": 1' "$XDG_CONFIG_HOME/Lumenworks/Zarvo1.0.json" || fail "the setting was not written"

months=(января февраля марта апреля мая июня июля августа сентября октября ноября декабря)
past=$(($(date +%s) - 3600))
printf '%%>>\r\n1\r\n%s\r\n%s %s %s\r\nЗвонок маме\r\nNULL\r\ntrue\r\n' "$(date -d "@$past" +%-H:%M:%S)" \
  "$(date -d "@$past" +%-d)" "${months[$(($(date -d "@$past" +%-m) - 1))]}" "$(date -d "@$past" +%Y)" \
  | iconv -f UTF-8 -t CP1251 >"$task_file"
before=$(md5sum <"$task_file")

step "start with a reminder due an hour ago"
start_program
wait_for 30 has_window_named '^Пропущенные задания$' || fail "the window of missed tasks did not appear"
wait_for 20 accessible_has "Звонок маме" || fail "the missed reminder is not listed"
wait_for 20 accessible_has "Показать" || fail "no button Показать"
sleep 0.5
import -window root "$artifacts/e2e_missed_window.png" || fail "no screenshot"
[ "$(md5sum <"$task_file")" = "$before" ] || fail "the task file changed before any button was pressed"

step "Показать opens the notice"
press_button "Показать" || fail "could not press Показать"
wait_for 20 has_window_named '^Напоминаем' || fail "the reminder window did not appear"
import -window root "$artifacts/e2e_missed_notice.png" || fail "no screenshot"
press "$(window_named '^Напоминаем')" Return
wait_for 20 bash -c '! xdotool search --onlyvisible --name "^Напоминаем" | grep -q .' \
  || fail "OK did not close the reminder"
[ "$(md5sum <"$task_file")" = "$before" ] || fail "showing the notice changed the task file"
wait_for 10 has_window_named '^Пропущенные задания$' || fail "the window of missed tasks closed with the notice"
kill -0 "$zarvo_pid" || fail "the program ended"
echo "PASS: the missed reminder was reported at start and its notice opened on request"
