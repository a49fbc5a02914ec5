#!/usr/bin/env bash
# Builds Release and prints one table of figures: the task list and the tick at scale, and the
# scheduler's idle footprint and firing latency with the tick polled every 200 ms (how the program
# ran before it learned to sleep) and driven by the sleeping driver. Figures only; nothing is
# asserted. ZARVO_BENCH_IDLE_SECONDS (60) and ZARVO_BENCH_FIRINGS (30) shorten or lengthen runs.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${ZARVO_BENCH_BUILD_DIR:-build-release}"
idle_seconds="${ZARVO_BENCH_IDLE_SECONDS:-60}"
firings="${ZARVO_BENCH_FIRINGS:-30}"

cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build_dir" --target bench_tasklist bench_idle -j2 >/dev/null

out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT

"$build_dir/bench/bench_tasklist" >"$out/tasklist"
# One run at a time, so the runs do not measure each other.
for mode in poll hidden visible; do
  "$build_dir/bench/bench_idle" footprint "$mode" "$idle_seconds" >"$out/footprint-$mode"
done
for mode in poll hidden; do
  "$build_dir/bench/bench_idle" latency "$mode" "$firings" >"$out/latency-$mode"
done

# field FILE REGEX: the first number after REGEX in FILE.
field() { grep -oE "$2 *[-0-9.]+" "$1" | head -1 | grep -oE '[-0-9.]+$' || echo "?"; }
row() { printf '| %-44s | %-20s | %-20s | %-20s |\n' "$@"; }

row "figure" "polled every 200 ms" "sleeping, hidden" "sleeping, shown"
row "--------------------------------------------" "--------------------" "--------------------" "--------------------"
rebuild="$(grep 'RebuildTaskList  10000' "$out/tasklist" | grep -oE 'wall +[0-9.]+ ms' | grep -oE '[0-9.]+')"
tick="$(grep 'SchedulerTick    10000' "$out/tasklist" | grep -oE 'wall +[0-9.]+ us' | grep -oE '[0-9.]+')"
row "RebuildTaskList, 10,000 tasks (ms, median)" "$rebuild" "$rebuild" "$rebuild"
row "one tick, 10,000 active tasks (us, median)" "$tick" "$tick" "$tick"
for what in "cpu:CPU (ms per minute)" "wake-ups:wake-ups (per second)" "RSS:RSS (kB)" "PSS:PSS (kB)"; do
  key="${what%%:*}"
  row "idle ${idle_seconds} s, 100 active tasks: ${what#*:}" \
    "$(field "$out/footprint-poll" "$key")" "$(field "$out/footprint-hidden" "$key")" \
    "$(field "$out/footprint-visible" "$key")"
done
for q in p50 p99 max; do
  row "firing latency, $firings tasks 1 s apart: $q (ms)" \
    "$(field "$out/latency-poll" "$q")" "$(field "$out/latency-hidden" "$q")" "as hidden"
done
row "program start-up, 10,000 tasks" "not measured" "not measured" "not measured"
row "exec to tray icon" "not measured" "not measured" "not measured"
echo
echo "Idle and latency rows run the scheduler headless (bench_idle), not the whole program; start-up"
echo "and exec-to-tray, which need the program on a desktop, are not measured by this script yet."
echo "Latency is from the start of the task's second to its action inside the process, the task"
echo "file saved first, as firing does; on a busy disk the save dominates the tail."
