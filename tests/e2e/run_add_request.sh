#!/usr/bin/env bash
# `zarvo --add`, as the desktop entry's action "Добавить задание" runs it: with a copy running
# hidden in the tray, that copy opens its add dialog and the new start ends at once with 0; asked
# again while the dialog is open, the one dialog stays the only one; a plain second start still
# says "Программа уже запущена." and ends with 1; with no copy running, --add starts the program
# with its add dialog open.
# Usage: run_add_request.sh PROGRAM ARTIFACT_DIR
set -uo pipefail

program=$1
artifacts=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d /tmp/zarvo-e2e-request.XXXXXX)
failure_shot=e2e_add_request_failure.png
second_pid=
# shellcheck source=desktop.sh
source "$here/desktop.sh"
trap '[ -n "$second_pid" ] && kill "$second_pid" 2>/dev/null; cleanup' EXIT

dialog_title='^Добавить'
# The visible add dialogs, one window id a line.
dialogs() { xdotool search --onlyvisible --name "$dialog_title" 2>/dev/null; }
dialog_count() { dialogs | grep -c .; }
dialog_of() { [ "$(xdotool getwindowpid "$(dialogs | head -n 1)" 2>/dev/null)" = "$1" ]; }
# Runs `zarvo --add` from the program's folder; its exit code is in $rc.
request_add() {
  (cd "$work/prog" && exec timeout 20 ./zarvo --add) >"$work/request.log" 2>&1
  rc=$?
}

start_desktop
copy_program "$work/prog"
write_settings

step "a copy hidden in the tray"
start_program
wait_for 30 has_tray_icon || fail "the tray icon did not appear"
has_window_named '^Zarvo$' && fail "the main window is shown although auto_hide is on"
[ "$(dialog_count)" = 0 ] || fail "an add dialog is open before any request"

step "zarvo --add asks the running copy"
request_add
[ "$rc" = 0 ] || fail "zarvo --add ended with $rc: $(cat "$work/request.log")"
wait_for 20 has_window_named "$dialog_title" || fail "the running copy did not open its add dialog"
dialog_of "$zarvo_pid" || fail "the add dialog does not belong to the running copy"
import -window root "$artifacts/e2e_add_request_dialog.png" 2>/dev/null
process_gone "$zarvo_pid" && fail "the running copy ended"

step "asked again while the dialog is open"
request_add
[ "$rc" = 0 ] || fail "the second zarvo --add ended with $rc: $(cat "$work/request.log")"
sleep 1
[ "$(dialog_count)" = 1 ] || fail "$(dialog_count) add dialogs are open, not one"
press "$(dialogs | head -n 1)" Escape
wait_for 20 bash -c '! xdotool search --onlyvisible --name "^Добавить" | grep -q .' \
  || fail "Escape did not close the add dialog"

step "a plain second start still refuses"
(cd "$work/prog" && exec ./zarvo) >"$work/second.log" 2>&1 &
second_pid=$!
wait_for 20 has_window_named '^zarvo$' || fail "the second copy shows no message box"
wait_for 20 accessible_has "Программа уже запущена." || fail "the second copy's message is not shown"
press "$(window_named '^zarvo$')" Return
wait_for 20 process_gone "$second_pid" || fail "the second copy did not end after OK"
wait "$second_pid"
second_rc=$?
second_pid=
[ "$second_rc" = 1 ] || fail "the second copy ended with $second_rc, not 1"
[ "$(dialog_count)" = 0 ] || fail "the refused start opened an add dialog"

step "zarvo --add with no copy running starts one with the dialog open"
kill "$zarvo_pid"
wait "$zarvo_pid" 2>/dev/null
wait_for 20 bash -c '! xdotool search --onlyvisible --class zarvo | grep -q .' || fail "the first copy's windows stay"
# The killed copy left its lock and its socket behind; both are taken over.
(cd "$work/prog" && exec ./zarvo --add) >"$work/fresh.log" 2>&1 &
zarvo_pid=$!
wait_for 30 has_window_named "$dialog_title" || fail "zarvo --add with no copy running opened no add dialog: $(cat "$work/fresh.log")"
dialog_of "$zarvo_pid" || fail "the add dialog does not belong to the new copy"
process_gone "$zarvo_pid" && fail "the new copy ended"
request_add
[ "$rc" = 0 ] || fail "zarvo --add to the new copy ended with $rc: $(cat "$work/request.log")"
sleep 1
[ "$(dialog_count)" = 1 ] || fail "$(dialog_count) add dialogs are open in the new copy, not one"

echo "PASS: zarvo --add reaches the running copy, or starts one with its add dialog"
