#!/usr/bin/env bash
# Sets up (Debian packages, configure, build) and runs every test of Zarvo.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh --with-test-tools
build_dir="${ZARVO_BUILD_DIR:-build}"
cd "$build_dir"
ctest --output-on-failure --timeout 600 -j "$(nproc)"
