#!/usr/bin/env bash
# Measures the real program on a private desktop (Xvfb, openbox, trayer, private D-Bus), as a
# user's machine runs it. Prints "name: value" lines; asserts nothing.
# Usage: program_bench.sh PROGRAM tray RUNS TASKS   exec to the tray icon, TASKS tasks in the file
#        program_bench.sh PROGRAM idle SECONDS      hidden in the tray with 100 active tasks
#        program_bench.sh PROGRAM objects           the shared objects mapped once hidden in the tray
#        program_bench.sh PROGRAM sound RUNS        a reminder with a WAV sound, once a start: from
#                                                   the notice's window mapped to the sound's stream
#                                                   at the sound server (run it through
#                                                   tests/platform/run_with_pulse.sh)
#        program_bench.sh PROGRAM latency FIRINGS   every-day tasks one second apart that run a
#                                                   recorder of their start
set -uo pipefail

program=$(realpath "$1")
what=$2
amount=${3:-0}
tasks=${4:-0}
here=$(cd "$(dirname "$0")/../tests/e2e" && pwd)

work=$(mktemp -d /tmp/zarvo-bench.XXXXXX)
artifacts="$work/artifacts"
# shellcheck source=../tests/e2e/desktop.sh
source "$here/desktop.sh"
trap cleanup EXIT

# ---- figures ----

# Percentiles of the numbers on stdin (one per line): p50, p99 and max, nearest rank.
percentiles() {
  sort -n | awk '{v[NR] = $1} END {
    if (NR == 0) { print "none"; exit }
    p50 = v[int(0.5 * (NR - 1)) + 1]; p99 = v[int(0.99 * (NR - 1)) + 1]
    printf "p50 %.1f  p99 %.1f  max %.1f  (n %d)\n", p50, p99, v[NR], NR }'
}

# Time on a CPU (ms per minute) and times scheduled onto one (per second), over all threads of
# process PID for SECONDS. Threads come and go (a pool's idle worker ends after 30 s), so each
# thread is read every second and counted from its first reading to its last.
cpu_and_wakeups() {
  /usr/bin/python3 - "$1" "$2" <<'PY'
import glob, sys, time
pid, seconds = sys.argv[1], int(sys.argv[2])
first, last = {}, {}
def sample(initial=False):
    for path in glob.glob("/proc/%s/task/*/schedstat" % pid):
        try:
            ns, _, runs = (int(v) for v in open(path).read().split())
        except (OSError, ValueError):
            continue
        tid = path.split("/")[4]
        first.setdefault(tid, (ns, runs) if initial else (0, 0))
        last[tid] = (ns, runs)
end = time.monotonic() + seconds
sample(initial=True)
while time.monotonic() < end:
    time.sleep(min(1.0, max(0.0, end - time.monotonic())))
    sample()
ns = sum(last[t][0] - first[t][0] for t in last)
runs = sum(last[t][1] - first[t][1] for t in last)
print("idle CPU (ms per minute): %.2f" % (ns / 1e6 * 60 / seconds))
print("idle wake-ups (per second): %.3f" % (runs / seconds))
PY
}
rollup_kb() { awk -v f="$2:" '$1 == f {print $2}' /proc/"$1"/smaps_rollup; }

# ---- the task file ----

# COUNT active every-day reminders, due from an hour from now on, every ten seconds.
write_far_reminders() {
  /usr/bin/python3 - "$1" "$2" <<'PY'
import sys, time
path, count = sys.argv[1], int(sys.argv[2])
start = int(time.time()) + 3600
with open(path, "wb") as out:
    for i in range(count):
        t = time.localtime(start + 10 * i)
        when = "%d:%02d:%02d" % (t.tm_hour, t.tm_min, t.tm_sec)
        text = "%>>\r\n1\r\n" + when + "\r\nNULL\r\nНапоминание " + str(i) + "\r\nNULL\r\ntrue\r\n"
        out.write(text.encode("cp1251"))
PY
}

# ---- exec to the tray icon ----

# The tray host takes the icon's window from the root window into its own: the root window's
# substructure events, each line stamped on arrival, record when.
watch_reparents() {
  mkfifo "$work/xev.fifo"
  stdbuf -oL xev -root -event substructure -event property >"$work/xev.fifo" 2>/dev/null &
  pids+=($!)
  while IFS= read -r line; do printf '%s %s\n' "$EPOCHREALTIME" "$line"; done <"$work/xev.fifo" >"$1" &
  pids+=($!)
  xev_listening() {
    xprop -root -f _ZARVO_BENCH_PING 8s -set _ZARVO_BENCH_PING "$RANDOM"
    grep -q _ZARVO_BENCH_PING "$1"
  }
  wait_for 20 xev_listening "$1" || fail "no events of the root window"
}

# Ends one start: the program, then the watchers the start added after the first KEPT processes.
end_start() {
  kill "$zarvo_pid"
  wait "$zarvo_pid" 2>/dev/null
  zarvo_pid=
  for pid in "${pids[@]:$1}"; do kill "$pid" 2>/dev/null; done
  rm -f "$work/xev.fifo"
}

# The moment (seconds) the window WINDOW (decimal id) was taken into the tray host.
embedded_at() {
  local hex
  hex=$(printf '0x%x' "$2")
  awk -v w="window $hex, parent" 'index($0, w) {t = $1} END {print t}' "$1"
}

tray_runs() {
  local runs=$1 count=$2 run log icon at
  [ "$count" -gt 0 ] && write_far_reminders "$work/prog/ztasks.zct" "$count"
  for ((run = 1; run <= runs; run++)); do
    log="$work/reparent-$run.log"
    pids=("${desktop_pids[@]}")
    watch_reparents "$log"
    start_program
    wait_for 60 has_tray_icon || fail "no tray icon in run $run"
    icon=$(tray_icon)
    at=$(embedded_at "$log" "$icon")
    [ -n "$at" ] || fail "no record of the icon being embedded in run $run"
    awk -v a="$at" -v b="$started_at" 'BEGIN {printf "%.1f\n", (a - b) * 1000}' >>"$work/tray-ms"
    end_start "${#desktop_pids[@]}"
  done
  echo "exec to tray icon, $count tasks, $runs runs (ms): $(percentiles <"$work/tray-ms")"
  echo "  each run in order (ms): $(tr '\n' ' ' <"$work/tray-ms")"
}

# ---- idle footprint ----

idle_run() {
  local seconds=$1
  write_far_reminders "$work/prog/ztasks.zct" 100
  start_program
  wait_for 60 has_tray_icon || fail "no tray icon"
  sleep 5 # start-up settles
  cpu_and_wakeups "$zarvo_pid" "$seconds"
  echo "idle RSS (kB): $(rollup_kb "$zarvo_pid" Rss)"
  echo "idle PSS (kB): $(rollup_kb "$zarvo_pid" Pss)"
  echo "idle shared objects mapped: $(shared_objects "$zarvo_pid" | wc -l)"
}

# The shared objects process PID has mapped, one a line.
shared_objects() { awk '$6 ~ /\.so/ {print $6}' /proc/"$1"/maps | sort -u; }

# Resident kB per mapped file (anonymous memory as "[anon]", heap as "[heap]"), largest first.
resident_by_mapping() {
  awk '$1 ~ /^[0-9a-f]+-[0-9a-f]+$/ {name = (NF >= 6) ? $6 : "[anon]"; sub(/.*\//, "", name)}
       $1 == "Rss:" {kb[name] += $2}
       END {for (n in kb) if (kb[n] > 0) printf "%8d kB  %s\n", kb[n], n}' /proc/"$1"/smaps | sort -rn
}

objects_run() {
  write_far_reminders "$work/prog/ztasks.zct" 100
  start_program
  wait_for 60 has_tray_icon || fail "no tray icon"
  sleep 2 # start-up settles
  resident_by_mapping "$zarvo_pid"
  echo "shared objects mapped, hidden in the tray: $(shared_objects "$zarvo_pid" | wc -l)"
}

# ---- the first sound ----

# One reminder with the sound WAV, due at the second DUE, as the task file FILE.
write_sound_reminder() {
  printf '%%>>\r\n1\r\n%s\r\nNULL\r\nЗвук\r\n%s\r\ntrue\r\n' \
    "$(date -d "@$3" +%-H:%M:%S)" "$2" | iconv -f UTF-8 -t CP1251 >"$1"
}

sound_run() {
  local runs=$1 run due mapped streamed
  [ -n "${PULSE_SERVER:-}" ] || fail "no sound server: run me through tests/platform/run_with_pulse.sh"
  sox -n -r 44100 -c 2 -b 16 "$work/tone.wav" synth 0.5 sine 440 2>/dev/null || fail "sox made no WAV"
  mkfifo "$work/pulse.fifo"
  stdbuf -oL pactl subscribe >"$work/pulse.fifo" 2>/dev/null &
  pids+=($!)
  while IFS= read -r line; do printf '%s %s\n' "$EPOCHREALTIME" "$line"; done <"$work/pulse.fifo" >"$work/pulse-events" &
  pids+=($!)
  local kept=("${pids[@]}")
  for ((run = 1; run <= runs; run++)); do
    pids=("${kept[@]}")
    due=$(($(date +%s) + 5))
    write_sound_reminder "$work/prog/ztasks.zct" "$work/tone.wav" "$due"
    watch_reparents "$work/sound-$run.log"
    start_program
    while [ "$(date +%s)" -le $((due + 2)) ]; do sleep 0.2; done
    # The notice's frame is the first window mapped after the due second.
    mapped=$(awk -v d="$due" '$1 >= d && /MapNotify/ {print $1; exit}' "$work/sound-$run.log")
    streamed=$(awk -v d="$due" '$1 >= d && /new. on sink-input/ {print $1; exit}' "$work/pulse-events")
    if [ -n "$mapped" ] && [ -n "$streamed" ]; then
      awk -v a="$streamed" -v b="$mapped" 'BEGIN {printf "%.1f\n", (a - b) * 1000}' >>"$work/sound-ms"
    fi
    end_start "${#kept[@]}"
  done
  pids=("${kept[@]}")
  echo "first sound, notice mapped to the stream at the server, $runs starts (ms): $(percentiles <"$work/sound-ms")"
}

# ---- firing latency ----

# The recorder a task runs: the benchmark's own C program (ZARVO_BENCH_RECORDER, built as the
# time_recorder target), which costs a fraction of a millisecond to start; without it, the shell
# script the end-to-end tests use. Either way it appends its start to $work/record.log.
recorder="${ZARVO_BENCH_RECORDER:-}"
install_recorder() {
  if [ -n "$recorder" ]; then
    cp "$recorder" "$work/record"
  else
    write_time_recorder "$work/record" "$work/record.log"
  fi
}

latency_run() {
  local firings=$1 first
  install_recorder
  first=$(($(date +%s) + 8))
  write_program_tasks "$work/prog/ztasks.zct" "$first" "$firings" "$work/record"
  start_program
  wait_for 60 has_tray_icon || fail "no tray icon"
  local end=$((first + firings + 2))
  while [ "$(date +%s)" -lt "$end" ]; do sleep 0.5; done
  # Each task is due at the start of its own second: the delay is the part after it.
  awk -v first="$first" '{print ($1 - (first + NR - 1)) * 1000}' "$work/record.log" >"$work/latency-ms"
  local fired
  fired=$(wc -l <"$work/record.log")
  echo "firing latency, $firings tasks one second apart (ms): $(percentiles <"$work/latency-ms"), fired $fired"
  # What the recorder itself takes to start and read the clock, started from a shell (the
  # shell's fork included, so this overstates it a little).
  local i
  mv "$work/record.log" "$work/fired.log"
  for ((i = 0; i < 50; i++)); do
    echo "$EPOCHREALTIME" >>"$work/asked.log"
    "$work/record"
  done
  paste "$work/asked.log" "$work/record.log" | awk '{print ($2 - $1) * 1000}' >"$work/own-ms"
  echo "recorder's own start, 50 runs from a shell (ms): $(percentiles <"$work/own-ms")"
  # The program's own share of each firing: its delay less the recorder's median start.
  local own
  own=$(sort -n "$work/own-ms" | awk '{v[NR] = $1} END {print v[int(0.5 * (NR - 1)) + 1]}')
  awk -v own="$own" '{print $1 - own}' "$work/latency-ms" >"$work/share-ms"
  echo "firing latency, the program's own share (ms): $(percentiles <"$work/share-ms")"
  echo "  each firing in order, own share (ms): $(awk '{printf "%.1f ", $1}' "$work/share-ms")"
}

# The private sound server of run_with_pulse.sh, found by its socket once the desktop moves the
# runtime folder.
[ -n "${XDG_RUNTIME_DIR:-}" ] && [ -S "$XDG_RUNTIME_DIR/pulse/native" ] \
  && export PULSE_SERVER="unix:$XDG_RUNTIME_DIR/pulse/native"
start_desktop
# The end-to-end tests switch accessibility on to read the windows; a user's session starts
# programs without it.
unset QT_LINUX_ACCESSIBILITY_ALWAYS_ON
desktop_pids=("${pids[@]}")
cp "$program" "$work/prog/zarvo"
# The sound plugin built beside the program goes with it, as in a copied program folder.
plugin="$(dirname "$program")/zarvo-sound.so"
[ -f "$plugin" ] && cp "$plugin" "$work/prog/"
: >"$work/prog/ztasks.zct"
write_settings

case $what in
  tray) tray_runs "$amount" "$tasks" ;;
  idle) idle_run "$amount" ;;
  latency) latency_run "$amount" ;;
  objects) objects_run ;;
  sound) sound_run "$amount" ;;
  *) fail "what to measure: tray, idle, objects, sound or latency" ;;
esac
