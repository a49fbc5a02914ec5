#!/usr/bin/env bash
# Sets up (Debian packages, configure, build) and runs every test of Zarvo; then builds a second
# tree with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test there once more.
# Both runs must pass.
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=$PWD
# Each phase says how long it took: the whole run has to fit CI's time budget.
phase_start=$SECONDS
phase_done() {
  echo "== $1: $((SECONDS - phase_start)) s"
  phase_start=$SECONDS
}

bash scripts/setup.sh --with-test-tools
build_dir="${ZARVO_BUILD_DIR:-build}"
phase_done "set-up and build"
(cd "$build_dir" && ctest --output-on-failure --timeout 600 -j "$(nproc)")
phase_done "tests"

# ---- the same suite, sanitized ----
sanitize_dir="${ZARVO_SANITIZE_BUILD_DIR:-build-sanitize}"
ZARVO_BUILD_TYPE=Debug ZARVO_BUILD_DIR="$sanitize_dir" \
  ZARVO_CMAKE_ARGS="${ZARVO_CMAKE_ARGS:-} -DZARVO_SANITIZE=ON -DZARVO_BUILD_BENCH=OFF" \
  bash scripts/setup.sh
phase_done "sanitized build"

# Reports are written to files, shown at the end, and fail the run even when the process that
# wrote them was not watched: some tests start the program or a probe in the background and look
# only at what it shows, not at how it ended.
reports=$(mktemp -d /tmp/zarvo-sanitizer.XXXXXX)
trap 'rm -rf "$reports"' EXIT
export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1:log_path=$reports/asan"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:log_path=$reports/ubsan"
export LSAN_OPTIONS="suppressions=$source_dir/tests/sanitizer/lsan.supp:print_suppressions=0"

status=0
(cd "$sanitize_dir" && ctest --output-on-failure --timeout 600 -j "$(nproc)") || status=$?
phase_done "sanitized tests"
for report in "$reports"/*; do
  [ -e "$report" ] || continue
  echo "==== sanitizer report $(basename "$report") ====" >&2
  cat "$report" >&2
  status=1
done
exit "$status"
