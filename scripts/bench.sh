#!/usr/bin/env bash
# Builds Release and prints one table of figures; nothing is asserted.
# - The real program on a private desktop (bench/program_bench.sh): exec to its tray icon with an
#   empty task file, with 100 active tasks and with 10,000 tasks, the idle footprint hidden in the tray with 100 active
#   tasks, and the firing latency of every-day tasks that run a script recording its start.
# - The scheduler headless (bench_idle): polled every 200 ms against the sleeping driver.
# - The task list at scale (bench_tasklist).
# The "before" column is the program built from ZARVO_BENCH_BEFORE (a git revision; default the
# last one that polled the tick every 200 ms; "none" leaves the column out), or the program
# ZARVO_BENCH_BEFORE_PROGRAM when it names one already built.
# ZARVO_BENCH_IDLE_SECONDS (60), ZARVO_BENCH_FIRINGS (30), ZARVO_BENCH_TRAY_RUNS (10) and
# ZARVO_BENCH_TRAY_ROUNDS (5, the turns the exec-to-tray starts are split into) change the lengths
# of the runs.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${ZARVO_BENCH_BUILD_DIR:-build-release}"
idle_seconds="${ZARVO_BENCH_IDLE_SECONDS:-60}"
firings="${ZARVO_BENCH_FIRINGS:-30}"
tray_runs="${ZARVO_BENCH_TRAY_RUNS:-10}"
tray_rounds="${ZARVO_BENCH_TRAY_ROUNDS:-5}"
before_rev="${ZARVO_BENCH_BEFORE:-b867dc1}"

# The desktop tools come with the test tools; the build is Release, without the tests.
ZARVO_BUILD_DIR="$build_dir" ZARVO_BUILD_TYPE=Release ZARVO_CMAKE_ARGS="-DZARVO_BUILD_TESTS=OFF" \
  bash scripts/setup.sh --with-test-tools >/dev/null
# The benchmarks are not part of the default build.
cmake --build "$build_dir" --parallel "$(nproc)" --target bench_tasklist bench_idle bench_sound \
  bench_animation bare_tray time_recorder >/dev/null
# The latency runs' tasks start this recorder (bench/time_recorder.c).
export ZARVO_BENCH_RECORDER="$PWD/$build_dir/bench/time_recorder"

out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT

programs=(now)
now_program="$build_dir/src/app/zarvo"
if [ -n "${ZARVO_BENCH_BEFORE_PROGRAM:-}" ]; then
  before_program=$ZARVO_BENCH_BEFORE_PROGRAM
  programs=(before now)
elif [ "$before_rev" != none ]; then
  before_src="build-before/src"
  rm -rf "$before_src" && mkdir -p "$before_src"
  git archive "$before_rev" | tar -x -C "$before_src"
  cmake -S "$before_src" -B build-before/build -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DZARVO_BUILD_TESTS=OFF -DZARVO_BUILD_BENCH=OFF >/dev/null
  cmake --build build-before/build --target zarvo -j2 >/dev/null
  before_program=build-before/build/src/app/zarvo
  programs=(before now)
fi

bare_program="$build_dir/bench/bare_tray"

# Exec to the tray icon: the programs take turns, a few starts each, round after round, so a slow
# spell of the machine falls on all of them alike; each figure pools its program's starts.
each_run() { grep -oE 'each run in order \(ms\): .*' | sed 's/.*: //' | tr ' ' '\n' | grep .; }
pooled() { # NAME RUNS-FILE
  sort -n "$2" | awk -v name="$1" '{v[NR] = $1} END {
    printf "%s (ms): p50 %.1f  max %.1f  (n %d)\n", name, v[int(0.5 * (NR - 1)) + 1], v[NR], NR }'
}
# Each round starts with the next program in turn, so none always follows the same one.
tray_programs=("${programs[@]}" bare)
per_round=$(((tray_runs + tray_rounds - 1) / tray_rounds))
for ((round = 0; round < tray_rounds; round++)); do
  for ((turn = 0; turn < ${#tray_programs[@]}; turn++)); do
    which=${tray_programs[$(((round + turn) % ${#tray_programs[@]}))]}
    program_var="${which}_program"
    for count in 0 100; do
      bash bench/program_bench.sh "${!program_var}" tray "$per_round" "$count" | each_run >>"$out/tray$count-$which.runs"
    done
  done
done
for which in "${programs[@]}" bare; do
  pooled "exec to tray icon, empty task file" "$out/tray0-$which.runs" >"$out/tray-$which"
  pooled "exec to tray icon, 100 active tasks" "$out/tray100-$which.runs" >"$out/tray100-$which"
done

# One run at a time, so the runs do not measure each other.
for which in "${programs[@]}"; do
  program_var="${which}_program"
  program="${!program_var}"
  bash bench/program_bench.sh "$program" tray "$tray_runs" 10000 >"$out/tray10k-$which"
  bash bench/program_bench.sh "$program" idle "$idle_seconds" >"$out/idle-$which"
  bash bench/program_bench.sh "$program" latency "$firings" >"$out/latency-$which"
  # The first sound of a start, beside a private sound server (left out where none can start).
  tests/platform/run_with_pulse.sh bash bench/program_bench.sh "$program" sound 5 >"$out/sound-$which" || true
done
"$build_dir/bench/bench_tasklist" >"$out/tasklist"
bash bench/program_bench.sh "$bare_program" idle "$idle_seconds" >"$out/idle-bare"
for mode in poll hidden; do
  "$build_dir/bench/bench_idle" footprint "$mode" "$idle_seconds" >"$out/footprint-$mode"
  "$build_dir/bench/bench_idle" latency "$mode" "$firings" >"$out/latency-$mode"
done

# field FILE REGEX: the first number after REGEX in FILE ("-" when the file or the figure is missing).
field() { { grep -oE "$2 *[-0-9.]+" "$1" 2>/dev/null || true; } | head -1 | grep -oE '[-0-9.]+$' || echo "-"; }
row() { printf '| %-62s | %-14s | %-14s |\n' "$@"; }
both() { row "$1" "$(field "$out/$2-before" "$3")" "$(field "$out/$2-now" "$3")"; }

echo "Program rows: 'before' is $before_rev, 'now' is $(git rev-parse --short HEAD); headless rows: polled against sleeping."
row "figure" "before" "now"
row "--------------------------------------------------------------" "--------------" "--------------"
for q in p50 max; do
  both "exec to tray icon, empty task file, $((per_round * tray_rounds)) runs: $q (ms)" tray "$q"
done
for q in p50 max; do
  both "exec to tray icon, 100 active tasks, $((per_round * tray_rounds)) runs: $q (ms)" tray100 "$q"
done
for q in p50 max; do
  both "exec to tray icon, 10,000 tasks, $tray_runs runs: $q (ms)" tray10k "$q"
done
for q in p50 max; do
  row "exec to tray icon, a bare Qt tray program: $q (ms)" "-" "$(field "$out/tray-bare" "$q")"
done
for q in p50 max; do
  row "exec to tray icon, bare Qt tray program, 100 tasks beside it: $q (ms)" "-" "$(field "$out/tray100-bare" "$q")"
done
both "idle ${idle_seconds} s hidden, 100 active tasks: CPU (ms per minute)" idle "CPU \(ms per minute\):"
both "idle ${idle_seconds} s hidden, 100 active tasks: wake-ups per second" idle "wake-ups \(per second\):"
both "idle ${idle_seconds} s hidden, 100 active tasks: RSS (kB)" idle "RSS \(kB\):"
both "idle ${idle_seconds} s hidden, 100 active tasks: PSS (kB)" idle "PSS \(kB\):"
for what in "CPU \(ms per minute\):|CPU (ms per minute)" "wake-ups \(per second\):|wake-ups per second" \
  "RSS \(kB\):|RSS (kB)" "PSS \(kB\):|PSS (kB)"; do
  row "idle ${idle_seconds} s, bare Qt tray program, 200 ms timer: ${what#*|}" "-" \
    "$(field "$out/idle-bare" "${what%%|*}")"
done
for q in p50 p99 max; do
  both "firing latency, $firings run-program tasks: $q (ms)" latency "$q"
done
both "firing latency: tasks that fired (of $firings)" latency "fired"
for q in p50 max; do
  both "first sound of a start, notice mapped to the stream at the server: $q (ms)" sound "$q"
done
for q in p50 max; do
  both "  of which the recorder's own start: $q (ms)" latency "own start.*$q"
done
for q in p50 p99 max; do
  both "  the program's own share (delay less the recorder's start): $q (ms)" latency "own share.*$q"
done
for what in "cpu:CPU (ms per minute)" "wake-ups:wake-ups per second" "RSS:RSS (kB)"; do
  row "headless scheduler, idle ${idle_seconds} s, 100 tasks: ${what#*:}" \
    "$(field "$out/footprint-poll" "${what%%:*}")" "$(field "$out/footprint-hidden" "${what%%:*}")"
done
for q in p50 p99 max; do
  row "headless scheduler, firing latency: $q (ms)" "$(field "$out/latency-poll" "$q")" \
    "$(field "$out/latency-hidden" "$q")"
done
rebuild() { grep "RebuildTaskList  10000 tasks$1" "$out/tasklist" | grep -oE 'wall +[0-9.]+' | grep -oE '[0-9.]+$'; }
row "RebuildTaskList, 10,000 tasks (ms, median wall)" "-" "$(rebuild ':')"
row "RebuildTaskList, 10,000 tasks, settings file (ms)" "-" "$(rebuild ', settings file')"
tick="$(grep 'SchedulerTick    10000' "$out/tasklist" | grep -oE 'wall +[0-9.]+' | grep -oE '[0-9.]+$')"
row "one tick, 10,000 active tasks (us, median wall)" "-" "$tick"
echo
echo "Exec to tray: from exec to the tray host taking in the icon's window; the programs take turns"
echo "in $tray_rounds rounds and each figure pools its starts. Latency: from the start"
echo "of each task's second to the recorder's start (a static C program, for both). Idle: CPU time"
echo "and times scheduled, over all threads, from /proc. The desktop runs without accessibility, as a user's session does."
