#!/usr/bin/env bash
# Builds the task-file fuzz target with clang and libFuzzer and runs it.
# Usage: scripts/fuzz.sh [seconds]   (default 600). New findings land in build-fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-600}"
CXX=clang++ CC=clang cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZARVO_FUZZ=ON -DZARVO_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz --target fuzz_taskfile --parallel "$(nproc)"
mkdir -p build-fuzz/corpus build-fuzz/findings
cp -n tests/fuzz/corpus/* build-fuzz/corpus/ 2>/dev/null || true
./build-fuzz/tests/fuzz/fuzz_taskfile -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 \
  -dict=tests/fuzz/taskfile.dict -artifact_prefix=build-fuzz/findings/ -print_final_stats=1 build-fuzz/corpus
