#!/usr/bin/env bash
# The real program on a private desktop, under strain:
# - while one copy runs, 100 more starts are each refused with exit code 1;
# - after the running copy is killed with SIGKILL, the next start succeeds;
# - with the other core kept busy, 100 every-day tasks due in consecutive seconds each fire in
#   their own second, in order, and are all re-armed.
# Usage: run_reliability.sh PROGRAM ARTIFACT_DIR [STARTS] [TASKS]
set -uo pipefail

program=$1
artifacts=$2
starts=${3:-100}
task_count=${4:-100}
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d /tmp/zarvo-e2e.XXXXXX)
failure_shot=e2e_reliability_failure.png
# shellcheck source=desktop.sh
source "$here/desktop.sh"
trap cleanup EXIT

task_file="$work/prog/ztasks.zct"
states() { iconv -f CP1251 -t UTF-8 "$task_file" | tr -d '\r' | awk 'NR % 7 == 0' | sort | uniq -c | xargs; }
all_true() { [ "$(states)" = "$task_count true" ]; }

start_desktop
copy_program "$work/prog"
: >"$task_file"
write_settings

# ---- one copy runs; every further start is refused ----
step "the first copy"
start_program
wait_for 30 has_tray_icon || fail "the first copy shows no tray icon"
first_pid=$zarvo_pid

step "$starts more starts"
for ((i = 1; i <= starts; i++)); do
  (cd "$work/prog" && exec ./zarvo) &
  other=$!
  wait_for 20 has_window_named '^zarvo$' || fail "start $i showed no message"
  press "$(window_named '^zarvo$')" Return
  wait_for 20 process_gone "$other" || fail "start $i did not end after its message"
  wait "$other"
  rc=$?
  [ "$rc" = 1 ] || fail "start $i ended with $rc, not 1"
done
kill -0 "$first_pid" || fail "the running copy ended during the refused starts"

# ---- killed without warning, the lock it leaves does not stop the next start ----
step "kill -9, then start again"
kill -9 "$first_pid"
wait "$first_pid" 2>/dev/null
zarvo_pid=

# The other core is kept busy from here on.
(while :; do :; done) &
pids+=($!)

write_time_recorder "$work/record.sh" "$work/fired.log"
first_due=$(($(date +%s) + 10))
write_program_tasks "$task_file" "$first_due" "$task_count" "$work/record.sh"
start_program
wait_for 30 has_tray_icon || fail "the start after kill -9 shows no tray icon"
has_window_named '^zarvo$' && fail "the start after kill -9 was refused"

# ---- every task fires in its own second ----
step "$task_count tasks due from $(date -d "@$first_due" +%T), one a second, the other core busy"
last_due=$((first_due + task_count - 1))
while [ "$(date +%s)" -le "$((last_due + 2))" ]; do sleep 1; done
fired=$(wc -l <"$work/fired.log")
[ "$fired" = "$task_count" ] || fail "$fired of $task_count tasks fired"
# The n-th line was written in the n-th task's second.
wrong=$(awk -v first="$first_due" 'int($1) != first + NR - 1 {print NR ": " $1}' "$work/fired.log")
[ -z "$wrong" ] || fail "tasks fired outside their second: $wrong"
awk -v first="$first_due" '{print ($1 - (first + NR - 1)) * 1000}' "$work/fired.log" | sort -n \
  | awk '{v[NR] = $1} END {printf "delay after the second began: median %.1f ms, max %.1f ms\n", v[int((NR + 1) / 2)], v[NR]}'
wait_for 20 all_true || fail "not every task was re-armed: $(states)"
kill -0 "$zarvo_pid" || fail "the program ended"

echo "PASS: $starts refused starts, a start after kill -9, $task_count tasks on a busy machine"
