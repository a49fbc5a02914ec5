#!/usr/bin/env bash
# The real program, hidden in the tray, while another program rewrites its task file: a one-shot
# task A is due a few seconds after the start; in between the file is rewritten as [B, A], B an
# inactive one-shot task of another program. At A's second A runs and is deleted; B is neither
# run nor touched. Hidden, the program loads no font until its main window is shown.
# Usage: run_handedit.sh PROGRAM ARTIFACT_DIR
set -uo pipefail

program=$1
artifacts=$2
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d /tmp/zarvo-e2e.XXXXXX)
failure_shot=e2e_handedit_failure.png
# shellcheck source=desktop.sh
source "$here/desktop.sh"
trap cleanup EXIT

task_file="$work/prog/ztasks.zct"
start_desktop
copy_program "$work/prog"
write_settings
write_time_recorder "$work/a.sh" "$work/a.log"
write_time_recorder "$work/b.sh" "$work/b.log"

# Dates in the program's own words: day, month word in the genitive, year.
months=(января февраля марта апреля мая июня июля августа сентября октября ноября декабря)
block() { # due-epoch program state
  local day month year
  day=$(date -d "@$1" +%-d) month=${months[$(($(date -d "@$1" +%-m) - 1))]} year=$(date -d "@$1" +%Y)
  printf '%%>>\r\n6\r\n%s\r\n%s %s %s\r\nNULL\r\n%s\r\n%s\r\n' "$(date -d "@$1" +%-H:%M:%S)" \
    "$day" "$month" "$year" "$2" "$3"
}

due=$(($(date +%s) + 12))
block "$due" "$work/a.sh" true | iconv -f UTF-8 -t CP1251 >"$task_file"
step "A due at $(date -d "@$due" +%T)"
# Litter of saves a kill interrupted: an old one goes once the program is up, a fresh one stays.
printf 'old' >"$task_file.Ab12Cd" && touch -d '-20 minutes' "$task_file.Ab12Cd"
printf 'new' >"$task_file.Ef34Gh"
start_program
wait_for 30 has_tray_icon || fail "no tray icon"
wait_for 5 test ! -e "$task_file.Ab12Cd" || fail "an old temporary of an interrupted save was left"
[ -e "$task_file.Ef34Gh" ] || fail "a fresh temporary was removed"
rm -f "$task_file.Ef34Gh"

step "the file is rewritten as [B, A]"
sleep 3
# Hidden in the tray, past the start's caption timer, nothing has been measured or drawn as text.
[ "$(font_files_mapped "$zarvo_pid")" = 0 ] || fail "hidden in the tray, the program has font files open"
later=$(date -d "2030-01-01 09:00:00" +%s)
{ block "$later" "$work/b.sh" false; block "$due" "$work/a.sh" true; } | iconv -f UTF-8 -t CP1251 >"$task_file.new"
mv "$task_file.new" "$task_file"
expected_left=$(block "$later" "$work/b.sh" false | iconv -f UTF-8 -t CP1251 | md5sum)

while [ "$(date +%s)" -le "$((due + 2))" ]; do sleep 1; done
[ -s "$work/b.log" ] && fail "B ran in A's place"
[ -s "$work/a.log" ] || fail "A did not run"
fired=$(cut -d. -f1 <"$work/a.log")
[ "$fired" = "$due" ] || fail "A ran at $fired, not in its second $due"
wait_for 5 bash -c "[ \"\$(md5sum <'$task_file')\" = '$expected_left' ]" \
  || fail "the file is not [B]: $(iconv -f CP1251 -t UTF-8 "$task_file" | tr '\r\n' '| ')"
kill -0 "$zarvo_pid" || fail "the program ended"
# Firing from the tray measures no text either: no fonts load between a due second and its action.
[ "$(font_files_mapped "$zarvo_pid")" = 0 ] || fail "a firing from the tray loaded font files"

step "the main window from the tray, with its fonts"
xdotool mousemove --window "$(tray_icon)" 8 8 click --repeat 2 --delay 80 1
wait_for 20 has_window_named '^Zarvo$' || fail "the main window did not appear"
wait_for 10 test "$(font_files_mapped "$zarvo_pid")" -gt 0 || fail "the shown window loaded no font file"
wait_for 10 accessible_has "label|Список задач|" || fail "the list's title is not shown"
echo "PASS: the task that fell due ran; the task put before it was left alone"
