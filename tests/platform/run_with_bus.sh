#!/usr/bin/env bash
# Runs one test program against a private D-Bus daemon that serves as both the session and the
# system bus, with the stand-in services of dbus_standin.py on it and a fake xdg-screensaver first
# on PATH. Everything started here is stopped when the script ends.
# Usage: run_with_bus.sh TEST_PROGRAM [ARGS...]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
test_program="$1"
shift

work="$(mktemp -d)"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap cleanup EXIT

bus_info="$(dbus-daemon --session --fork --nosyslog --print-address=1 --print-pid=1)"
bus_address="$(sed -n 1p <<<"$bus_info")"
pids+=("$(sed -n 2p <<<"$bus_info")")
export DBUS_SESSION_BUS_ADDRESS="$bus_address"
export DBUS_SYSTEM_BUS_ADDRESS="$bus_address"
export ZARVO_STANDIN_LOG="$work/calls.log"
: >"$ZARVO_STANDIN_LOG"

/usr/bin/python3 "$here/dbus_standin.py" "$ZARVO_STANDIN_LOG" &
pids+=("$!")

# Desktops without the screen-saver interface fall back to this command.
mkdir -p "$work/bin"
cat >"$work/bin/xdg-screensaver" <<SCRIPT
#!/bin/sh
echo "xdg-screensaver \$*" >>"$ZARVO_STANDIN_LOG"
SCRIPT
chmod +x "$work/bin/xdg-screensaver"
export PATH="$work/bin:$PATH"

for _ in $(seq 200); do
  if dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
    org.freedesktop.DBus.NameHasOwner string:org.zarvo.TestStandIn 2>/dev/null | grep -q 'boolean true'; then
    break
  fi
  sleep 0.05
done

"$test_program" "$@"
