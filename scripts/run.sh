#!/usr/bin/env bash
# Sets up (Debian packages, configure, build) and starts Zarvo. It lives in the notification area;
# a second start only says that it is already running.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run.sh: no graphical display here (DISPLAY and WAYLAND_DISPLAY are empty)." >&2
  echo "Zarvo is a desktop program: start it from a desktop session, or build only with" >&2
  echo "'bash scripts/setup.sh' and run the tests with 'bash scripts/test.sh'." >&2
  exit 2
fi
bash scripts/setup.sh
build_dir="${ZARVO_BUILD_DIR:-build}"
program="$build_dir/src/app/zarvo"
if [ ! -x "$program" ]; then
  echo "run.sh: the build did not produce $program." >&2
  exit 1
fi
exec "$program"
