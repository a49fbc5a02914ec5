#!/usr/bin/env bash
# First run of the installed program on a private desktop (Xvfb, openbox, trayer, a private
# D-Bus with the accessibility bus): started as <prefix>/bin/zarvo from an unrelated folder, it
# keeps its tasks under XDG_DATA_HOME, finds its help in <prefix>/share/zarvo, writes an autostart
# entry naming the installed program, and writes nothing into the installed tree.
# Usage: run_installed.sh BUILD_DIR HELP_FILE ATSPI_SCRIPT ARTIFACT_DIR
set -uo pipefail

build=$1
help_file=$2
atspi=$3
artifacts=$4

work=$(mktemp -d /tmp/zarvo-installed.XXXXXX)
pids=()
dbus_pid=
zarvo_pid=
prefix=$work/prefix

cleanup() {
  local pid
  for pid in "$zarvo_pid" "${pids[@]}" "$dbus_pid"; do
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
  done
  for pid in "$zarvo_pid" "${pids[@]}"; do
    [ -n "$pid" ] && wait "$pid" 2>/dev/null
  done
  chmod -R u+w "$work" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [ -n "${DISPLAY:-}" ] && import -window root "$artifacts/installed_failure.png" 2>/dev/null
  exit 1
}
step() { echo "-- $*"; }

wait_for() {
  local limit=$1
  shift
  local end=$((SECONDS + limit))
  until "$@" >/dev/null 2>&1; do
    [ "$SECONDS" -ge "$end" ] && return 1
    sleep 0.1
  done
}
window_named() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
has_window_named() { [ -n "$(window_named "$1")" ]; }
accessible_has() { timeout 20 /usr/bin/python3 "$atspi" 2>/dev/null | grep -F -q -- "$1"; }
press_button() { timeout 20 /usr/bin/python3 "$atspi" press "$1"; }
# Every file and folder of the tree with its size and change time.
snapshot() { (cd "$1" && find . -printf '%P %y %s %C@\n' | LC_ALL=C sort); }

mkdir -p "$work/home" "$work/config" "$work/data" "$work/cache" "$work/runtime" "$work/elsewhere" "$artifacts"
chmod 700 "$work/runtime"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || fail "cmake --install: $(cat "$work/install.log")"
# Read-only for the run; root may write anyway, so the tree is also compared afterwards.
chmod -R a-w "$prefix"
snapshot "$prefix" >"$work/before"

export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
export XDG_CACHE_HOME="$work/cache" XDG_RUNTIME_DIR="$work/runtime"
export QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0
unset WAYLAND_DISPLAY SESSION_MANAGER DESKTOP_STARTUP_ID

Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
wait_for 20 grep -q -x '[0-9][0-9]*' "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(head -n 1 "$work/display")"
wait_for 20 xdpyinfo || fail "the display $DISPLAY does not answer"
bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1) || fail "no D-Bus daemon"
export DBUS_SESSION_BUS_ADDRESS=$(echo "$bus" | sed -n 1p)
export DBUS_SYSTEM_BUS_ADDRESS=$DBUS_SESSION_BUS_ADDRESS
dbus_pid=$(echo "$bus" | sed -n 2p)
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
pids+=($!)
openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
wait_for 20 bash -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' || fail "openbox did not start"
trayer --edge bottom --align right --widthtype pixel --width 200 --heighttype pixel --height 30 \
  >"$work/trayer.log" 2>&1 &
pids+=($!)
wait_for 20 xdotool search --onlyvisible --class trayer || fail "trayer did not start"

step "first run of $prefix/bin/zarvo"
(cd "$work/elsewhere" && exec "$prefix/bin/zarvo") &
zarvo_pid=$!
wait_for 30 has_window_named '^Zarvo$' || fail "no greeting box"
press_button OK || fail "no OK button on the greeting"
wait_for 20 has_window_named '^Справка Zarvo' || fail "no help window: the installed help was not found"
topic_line=$(awk '/^\[SHZ_contents0013\]/{f=1; next} /^\[SHZ_/{f=0} f && NF {sub(/^#+ */, ""); print; exit}' \
  "$help_file")
wait_for 20 accessible_has "$topic_line" || fail "the help window does not show SHZ_contents0013 ($topic_line)"
import -window root "$artifacts/installed_help.png" 2>/dev/null

step "files of the first run"
task_file=$work/data/Zarvo/ztasks.zct
wait_for 10 test -f "$task_file" || fail "no task file at \$XDG_DATA_HOME/Zarvo/ztasks.zct"
autostart=$work/config/autostart/zarvo.desktop
wait_for 10 test -f "$autostart" || fail "no autostart entry"
grep -F -x -q "Exec=\"$prefix/bin/zarvo\"" "$autostart" \
  || fail "the autostart entry does not start $prefix/bin/zarvo: $(grep '^Exec=' "$autostart")"
[ -z "$(ls -A "$work/elsewhere")" ] || fail "the program wrote into its working folder: $(ls -A "$work/elsewhere")"
snapshot "$prefix" >"$work/after"
diff -u "$work/before" "$work/after" >&2 || fail "the program changed its installed tree"

echo "PASS: installed program, first run"
