# Shared by the end-to-end scripts (sourced): polling, window look-ups, and a private desktop for
# a fresh user. The caller defines fail() and the variables work (a temporary folder), pids (an
# array) and dbus_pid, and stops what is recorded there in its EXIT trap.

step() { echo "-- $*"; }

# Polls a command every 100 ms until it succeeds or the limit (seconds) has passed.
wait_for() {
  local limit=$1
  shift
  local end=$((SECONDS + limit))
  until "$@" >/dev/null 2>&1; do
    [ "$SECONDS" -ge "$end" ] && return 1
    sleep 0.1
  done
}

# The first visible window whose name matches (an extended regular expression).
window_named() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
has_window_named() { [ -n "$(window_named "$1")" ]; }

# Fresh HOME and XDG folders under $work, then Xvfb, a private D-Bus (session and system) with the
# accessibility bus, openbox and the trayer notification area.
start_desktop() {
  mkdir -p "$work/home" "$work/config" "$work/data" "$work/cache" "$work/runtime"
  chmod 700 "$work/runtime"
  export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
  export XDG_CACHE_HOME="$work/cache" XDG_RUNTIME_DIR="$work/runtime"
  export QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0
  unset WAYLAND_DISPLAY SESSION_MANAGER DESKTOP_STARTUP_ID

  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
  pids+=($!)
  wait_for 20 grep -q -x '[0-9][0-9]*' "$work/display" || fail "Xvfb did not start"
  export DISPLAY=":$(head -n 1 "$work/display")"
  wait_for 20 xdpyinfo || fail "the display $DISPLAY does not answer"

  dbus-daemon --session --fork --print-address=1 --print-pid=1 >"$work/bus" || fail "no D-Bus daemon"
  local bus_address
  bus_address=$(sed -n 1p "$work/bus")
  dbus_pid=$(sed -n 2p "$work/bus")
  [ -n "$bus_address" ] || fail "the D-Bus daemon gave no address"
  export DBUS_SESSION_BUS_ADDRESS="$bus_address" DBUS_SYSTEM_BUS_ADDRESS="$bus_address"
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  pids+=($!)
  openbox --sm-disable >"$work/openbox.log" 2>&1 &
  pids+=($!)
  wait_for 20 bash -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' \
    || fail "openbox did not start: $(cat "$work/openbox.log")"
  trayer --edge bottom --align right --widthtype pixel --width 200 --heighttype pixel --height 30 \
    >"$work/trayer.log" 2>&1 &
  pids+=($!)
  wait_for 20 xdotool search --onlyvisible --class trayer || fail "trayer did not start: $(cat "$work/trayer.log")"
}
