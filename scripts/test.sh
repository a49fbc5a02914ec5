#!/usr/bin/env bash
# Sets up (Debian packages, configure, build) and runs every test of Zarvo, then builds a second
# tree with AddressSanitizer and UndefinedBehaviorSanitizer and runs the unit, widget and platform
# tests there once more. Everything must pass.
#
# The end-to-end and package tests of the optimised build (labels e2e and package) mostly wait
# for a desktop, so they run in the background while the sanitizer build compiles, at a lower
# priority for the compiler than for them.
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=$PWD
# Each phase says how long it took: the whole run has to fit CI's time budget.
run_start=$SECONDS
phase_start=$SECONDS
phase_done() {
  echo "== $1: $((SECONDS - phase_start)) s"
  phase_start=$SECONDS
}
jobs=$(nproc)

bash scripts/setup.sh --with-test-tools
build_dir="${ZARVO_BUILD_DIR:-build}"
phase_done "set-up and build"

logs=$(mktemp -d /tmp/zarvo-test.XXXXXX)
desktop_pid=
cleanup() {
  # The background run is a process group of its own: a failed phase stops all of it.
  if [ -n "$desktop_pid" ]; then
    kill -- "-$desktop_pid" 2>/dev/null
    wait "$desktop_pid" 2>/dev/null
  fi
  rm -rf "$logs"
}
trap cleanup EXIT

setsid bash -c 'ctest --test-dir "$1" --output-on-failure --timeout 600 -j "$2" -L "e2e|package" \
  >"$3/desktop.log" 2>&1; echo $? >"$3/desktop.status"' desktop "$build_dir" "$jobs" "$logs" &
desktop_pid=$!

status=0
ctest --test-dir "$build_dir" --output-on-failure --timeout 600 -j "$jobs" -L 'unit|widget|platform' \
  || status=1
phase_done "unit, widget and platform tests"

# ---- the unit, widget and platform tests again, sanitized ----
sanitize_dir="${ZARVO_SANITIZE_BUILD_DIR:-build-sanitize}"
# Only what the sanitized tests run: not the program, its package files or its icons.
sanitized_targets="zarvo_tests_core zarvo_tests_forms zarvo_tests_platform zarvo_tests_components
  zarvo_tests_app fuzz_replay_taskfile zarvo_sound_probe zarvo_soundplugin zarvo_help_file"
ZARVO_BUILD_TARGETS="$sanitized_targets" ZARVO_BUILD_TYPE=Debug ZARVO_BUILD_DIR="$sanitize_dir" \
  ZARVO_CMAKE_ARGS="${ZARVO_CMAKE_ARGS:-} -DZARVO_SANITIZE=ON -DZARVO_BUILD_BENCH=OFF" \
  nice -n 10 bash scripts/setup.sh
phase_done "sanitized build"

# Reports are written to files, shown at the end, and fail the run even when the process that
# wrote them was not watched: some tests start a probe in the background and look only at what
# it shows, not at how it ended.
reports="$logs/sanitizer"
mkdir "$reports"
(
  export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1:log_path=$reports/asan"
  export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:log_path=$reports/ubsan"
  export LSAN_OPTIONS="suppressions=$source_dir/tests/sanitizer/lsan.supp:print_suppressions=0"
  ctest --test-dir "$sanitize_dir" --output-on-failure --timeout 600 -j "$jobs" -L sanitized
) || status=1
phase_done "sanitized tests"
for report in "$reports"/*; do
  [ -e "$report" ] || continue
  echo "==== sanitizer report $(basename "$report") ====" >&2
  cat "$report" >&2
  status=1
done

wait "$desktop_pid" || true
desktop_pid=
phase_done "waiting for the end-to-end and package tests"
echo "==== end-to-end and package tests (optimised build, run alongside) ===="
cat "$logs/desktop.log"
[ "$(cat "$logs/desktop.status" 2>/dev/null)" = 0 ] || status=1
echo "== whole run: $((SECONDS - run_start)) s"
exit "$status"
