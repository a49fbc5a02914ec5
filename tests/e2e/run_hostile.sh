#!/usr/bin/env bash
# The real program in a world that misbehaves; every case must leave it scheduling:
# 1. a damaged settings file: one message, the main window shown, a task fires, Escape ends the
#    program, the file is left as it was;
# 2. a task file in a program folder the user (not root) cannot write: copied to the data
#    folder, said so, and its task fires;
# 3. a FIFO in place of the task file or of the settings file: a message naming it, no hang;
# 4. the sound server stopped (SIGSTOP) while a reminder with a sound fires: Enter closes the
#    notice at once and a task due two seconds later fires in its second;
# 5. the tray host ends while the program is hidden: the main window comes back; a new tray host
#    gets the icon back.
# Every case is run to its end; the script fails if any of them failed.
# Usage: run_hostile.sh PROGRAM ARTIFACT_DIR
set -uo pipefail

program=$1
artifacts=$2
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d /tmp/zarvo-e2e.XXXXXX)
chmod 755 "$work"
failure_shot=e2e_hostile_failure.png
# shellcheck source=desktop.sh
source "$here/desktop.sh"
failures=0
pulse_pid=
user_root=
hostile_cleanup() {
  [ -n "$pulse_pid" ] && kill -CONT "$pulse_pid" 2>/dev/null && kill "$pulse_pid" 2>/dev/null
  [ -n "$zarvo_pid" ] && kill -CONT "$zarvo_pid" 2>/dev/null
  cleanup
  [ -n "$user_root" ] && rm -rf "$user_root"
}
trap hostile_cleanup EXIT

# A failed check is reported with a screenshot; the case goes on to its end.
check() {
  local what=$1
  shift
  if ! "$@"; then
    echo "FAIL: $what" >&2
    import -window root "$artifacts/e2e_hostile_$((++failures)).png" 2>/dev/null
    return 1
  fi
}

settings_file="$work/config/Lumenworks/Zarvo1.0.json"
task_file="$work/prog/ztasks.zct"
zarvo_boxes() { xdotool search --onlyvisible --name '^Zarvo$' 2>/dev/null | while read -r id; do
  xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q DIALOG && echo "$id"; done; }
box_count() { zarvo_boxes | wc -l; }
has_box() { [ "$(box_count)" -ge 1 ]; }
no_box() { [ "$(box_count)" = 0 ]; }
main_window() { xdotool search --onlyvisible --name '^Zarvo$' 2>/dev/null | while read -r id; do
  xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q NORMAL && echo "$id"; done | head -n 1; }
has_main_window() { [ -n "$(main_window)" ]; }
no_main_window() { [ -z "$(main_window)" ]; }
fired_count() { [ -f "$1" ] && wc -l <"$1" || echo 0; }
# The one line the recorder wrote was written in the given second (seconds since the epoch).
fired_in() { [ "$(fired_count "$1")" -ge 1 ] && [ "$(head -n 1 "$1" | cut -d. -f1)" = "$2" ]; }

# Ends the running copy: Escape in its main window when it shows one, else a plain kill.
stop_program() {
  [ -n "$zarvo_pid" ] || return 0
  kill -CONT "$zarvo_pid" 2>/dev/null
  kill "$zarvo_pid" 2>/dev/null
  wait_for 5 process_gone "$zarvo_pid" || kill -9 "$zarvo_pid" 2>/dev/null
  wait "$zarvo_pid" 2>/dev/null
  zarvo_pid=
}

fresh_files() {
  stop_program
  rm -rf "$work/config" "$work/data" "$task_file" "$work"/fired*.log
  mkdir -p "$work/config" "$work/data"
}

start_desktop
copy_program "$work/prog"
write_time_recorder "$work/record.sh" "$work/fired.log"

# ---- 1. a damaged settings file ----
step "1. a settings file cut short"
fresh_files
write_settings
printf '{"Settings": {"auto_hide": 1, "simv_count": 15' >"$settings_file"
cp "$settings_file" "$work/settings.before"
due=$(($(date +%s) + 4))
write_program_tasks "$task_file" "$due" 1 "$work/record.sh"
start_program
check "a message about the settings file" wait_for 15 has_box &&
  check "the message names the file" wait_for 10 accessible_has "$settings_file"
check "the main window is shown" wait_for 10 has_main_window
press "$(zarvo_boxes | head -n 1)" Return
check "the message closes" wait_for 5 no_box
sleep 1
check "the message is shown once" no_box
while [ "$(date +%s)" -le "$((due + 1))" ]; do sleep 0.2; done
check "the task fired in its second ($(cat "$work/fired.log" 2>/dev/null))" fired_in "$work/fired.log" "$due"
press "$(main_window)" Escape
check "Escape ends the program" wait_for 10 process_gone "$zarvo_pid"
if process_gone "$zarvo_pid"; then
  wait "$zarvo_pid"
  rc=$?
  check "exit code $rc, not 0" test "$rc" = 0
  zarvo_pid=
fi
check "the damaged file is left as it was" cmp -s "$settings_file" "$work/settings.before"
stop_program

# ---- 3. special files ----
step "3. a FIFO in place of the task file"
fresh_files
write_settings
mkfifo "$task_file"
start_program
check "a message about the task file" wait_for 15 has_box &&
  check "the message names the file" wait_for 10 accessible_has "$task_file"
press "$(zarvo_boxes | head -n 1)" Return
check "the main window is shown" wait_for 10 has_main_window
press "$(main_window)" Escape
check "Escape ends the program" wait_for 10 process_gone "$zarvo_pid"
stop_program

step "3. a FIFO in place of the settings file"
fresh_files
mkdir -p "$(dirname "$settings_file")"
mkfifo "$settings_file"
: >"$task_file"
start_program
check "a message about the settings file" wait_for 15 has_box &&
  check "the message names the file" wait_for 10 accessible_has "$settings_file"
press "$(zarvo_boxes | head -n 1)" Return
check "the main window is shown" wait_for 10 has_main_window
check "the settings FIFO is left in place" test -p "$settings_file"
press "$(main_window)" Escape
check "Escape ends the program" wait_for 10 process_gone "$zarvo_pid"
stop_program

# ---- 5. the tray host ends while the program is hidden ----
step "5. the tray host ends while the program is hidden"
fresh_files
write_settings
: >"$task_file"
trayer_pid=${pids[-1]}
start_program
check "the tray icon" wait_for 20 has_tray_icon
check "no main window at start" no_main_window
kill "$trayer_pid"
wait "$trayer_pid" 2>/dev/null
check "the main window comes back when the tray host ends" wait_for 10 has_main_window
trayer --edge bottom --align right --widthtype pixel --width 200 --heighttype pixel --height 30 \
  >"$work/trayer2.log" 2>&1 &
pids+=($!)
check "the icon returns with a new tray host" wait_for 20 has_tray_icon
stop_program

# ---- 4. a stopped sound server while a reminder with a sound fires ----
step "4. the sound server stopped when a reminder with a sound fires"
fresh_files
write_settings
if pulseaudio --daemonize=yes --system=false --exit-idle-time=-1 -n \
  --load="module-null-sink sink_name=zarvo_hostile" --load="module-native-protocol-unix" \
  >"$work/pulse.log" 2>&1 && wait_for 10 test -s "$XDG_RUNTIME_DIR/pulse/pid"; then
  pulse_pid=$(cat "$XDG_RUNTIME_DIR/pulse/pid")
  sox -n -b 16 -r 44100 -c 2 "$work/tone.wav" synth 3 sine 440 vol 0.5
  write_time_recorder "$work/record2.sh" "$work/fired2.log"
  remind_at=$(($(date +%s) + 5))
  after=$((remind_at + 3))
  {
    printf '%%>>\r\n1\r\n%s\r\nNULL\r\nhung sound\r\n%s\r\ntrue\r\n' "$(date -d "@$remind_at" +%-H:%M:%S)" \
      "$work/tone.wav"
    printf '%%>>\r\n6\r\n%s\r\nNULL\r\nNULL\r\n%s\r\ntrue\r\n' "$(date -d "@$after" +%-H:%M:%S)" "$work/record2.sh"
  } >"$task_file"
  start_program
  check "the tray icon" wait_for 20 has_tray_icon
  kill -STOP "$pulse_pid"
  check "the reminder window" wait_for 15 has_window_named '^Напоминаем'
  sleep 0.5
  pressed=$EPOCHREALTIME
  press "$(window_named '^Напоминаем')" Return
  if check "Enter closes the reminder at once" wait_for 3 bash -c '! xdotool search --onlyvisible --name "^Напоминаем" | grep -q .'; then
    echo "the reminder closed $(awk -v a="$pressed" -v b="$EPOCHREALTIME" 'BEGIN {printf "%.0f", (b - a) * 1000}') ms after Enter"
  fi
  while [ "$(date +%s)" -le "$((after + 1))" ]; do sleep 0.2; done
  check "the task due meanwhile fired in its second ($(cat "$work/fired2.log" 2>/dev/null), due $after)" \
    fired_in "$work/fired2.log" "$after"
  stop_program
  kill -CONT "$pulse_pid"
else
  check "pulseaudio did not start: $(tail -n 3 "$work/pulse.log")" false
fi

# ---- 2. a program folder the user cannot write (run as nobody: root may write anywhere) ----
step "2. the user's task file in a program folder the user cannot write"
stop_program
user_root=$(mktemp -d /tmp/zarvo-e2e-user.XXXXXX)
chmod 755 "$user_root"
mkdir -p "$user_root/prog" "$user_root/home" "$user_root/runtime" "$user_root/out"
copy_program "$user_root/prog"
user_due=$(($(date +%s) + 6))
write_time_recorder "$user_root/record.sh" "$user_root/out/fired.log"
write_program_tasks "$user_root/prog/ztasks.zct" "$user_due" 1 "$user_root/record.sh"
chmod 755 "$user_root/prog" "$user_root/record.sh"
chmod 644 "$user_root/prog/ztasks.zct"
# Not the first run: no greeting in the way.
XDG_CONFIG_HOME="$user_root/home/.config" write_settings
chown -R nobody:nogroup "$user_root/home" "$user_root/runtime" "$user_root/out"
chmod 700 "$user_root/runtime"
(
  cd "$user_root/prog" &&
    exec setpriv --reuid=nobody --regid=nogroup --clear-groups \
      env HOME="$user_root/home" XDG_CONFIG_HOME="$user_root/home/.config" \
      XDG_DATA_HOME="$user_root/home/.local/share" XDG_CACHE_HOME="$user_root/home/.cache" \
      XDG_RUNTIME_DIR="$user_root/runtime" DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent \
      QT_LINUX_ACCESSIBILITY_ALWAYS_ON=0 ./zarvo
) &
zarvo_pid=$!
copy="$user_root/home/.local/share/Zarvo/ztasks.zct"
check "a notice about where the tasks now live" wait_for 20 has_box
check "the tasks were copied to $copy" cmp -s "$copy" "$user_root/prog/ztasks.zct"
[ -n "$(zarvo_boxes)" ] && press "$(zarvo_boxes | head -n 1)" Return
while [ "$(date +%s)" -le "$((user_due + 1))" ]; do sleep 0.2; done
check "the user's task fired in its second ($(cat "$user_root/out/fired.log" 2>/dev/null), due $user_due)" \
  fired_in "$user_root/out/fired.log" "$user_due"
stop_program

[ "$failures" = 0 ] || fail "$failures checks failed"
echo "all hostile cases passed"
