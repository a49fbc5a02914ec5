# Shared by the end-to-end scripts: a fresh user, a private desktop (Xvfb, private D-Bus with the
# accessibility bus, openbox, trayer) and helpers to find and drive the program's windows.
# The sourcing script sets $here, $work and $artifacts, and calls start_desktop once.

pids=()
dbus_pid=
zarvo_pid=

cleanup() {
  local pid
  for pid in "$zarvo_pid" "${pids[@]}" "$dbus_pid"; do
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
  done
  for pid in "$zarvo_pid" "${pids[@]}"; do
    [ -n "$pid" ] && wait "$pid" 2>/dev/null
  done
  rm -rf "$work"
}

fail() {
  echo "FAIL: $*" >&2
  [ -n "${DISPLAY:-}" ] && import -window root "$artifacts/${failure_shot:-e2e_failure.png}" 2>/dev/null
  exit 1
}
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
size_of() { xdotool getwindowgeometry --shell "$1" | awk -F= '/^WIDTH/{w=$2} /^HEIGHT/{h=$2} END{print w "x" h}'; }

# The program's icon embedded in trayer: a small visible window of the program's class.
tray_icon() {
  local id
  for id in $(xdotool search --onlyvisible --class zarvo 2>/dev/null); do
    local size w
    size=$(size_of "$id")
    w=${size%x*}
    if [ "${w:-999}" -le 64 ]; then
      echo "$id"
      return 0
    fi
  done
  return 1
}
has_tray_icon() { [ -n "$(tray_icon)" ]; }

accessible() { timeout 20 /usr/bin/python3 "$here/atspi_dump.py" 2>/dev/null; }
press_button() { timeout 20 /usr/bin/python3 "$here/atspi_dump.py" press "$1"; }
focus_control() { timeout 20 /usr/bin/python3 "$here/atspi_dump.py" focus "$1"; }
accessible_has() { accessible | grep -F -q -- "$1"; }

# Ended: no such process, or one that has exited and waits to be reaped (a zombie).
process_gone() {
  local state
  state=$(ps -o stat= -p "$1" 2>/dev/null)
  [ -z "$state" ] || [[ $state == Z* ]]
}
press() { xdotool windowactivate --sync "$1" >/dev/null 2>&1; xdotool key --clearmodifiers "$2"; }

start_desktop() {
  mkdir -p "$work/prog" "$work/home" "$work/config" "$work/data" "$work/cache" "$work/runtime" "$artifacts"
  chmod 700 "$work/runtime"
  export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
  export XDG_CACHE_HOME="$work/cache" XDG_RUNTIME_DIR="$work/runtime"
  export QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0
  unset WAYLAND_DISPLAY SESSION_MANAGER DESKTOP_STARTUP_ID

  # Desktops started at the same moment with -displayfd collide on the low numbers: a random
  # free high number is taken instead, and another one if that server does not come up.
  local number xvfb_pid attempt
  for attempt in 1 2 3 4 5; do
    number=$((40 + RANDOM % 361))
    [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ] && continue
    Xvfb ":$number" -screen 0 "${ZARVO_SCREEN:-1280x800x24}" -nolisten tcp 2>"$work/xvfb.log" &
    xvfb_pid=$!
    pids+=("$xvfb_pid")
    export DISPLAY=":$number"
    wait_for 10 xdpyinfo && break
    kill "$xvfb_pid" 2>/dev/null
    unset DISPLAY
  done
  [ -n "${DISPLAY:-}" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"

  dbus-daemon --session --fork --print-address=1 --print-pid=1 >"$work/bus" || fail "no D-Bus daemon"
  local bus_address
  bus_address=$(sed -n 1p "$work/bus")
  dbus_pid=$(sed -n 2p "$work/bus")
  [ -n "$bus_address" ] || fail "the D-Bus daemon gave no address"
  export DBUS_SESSION_BUS_ADDRESS="$bus_address" DBUS_SYSTEM_BUS_ADDRESS="$bus_address"
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  pids+=($!)
  # Like trayer below, openbox is started again when it ends at once.
  local attempt openbox_pid
  for attempt in 1 2 3; do
    openbox --sm-disable >"$work/openbox.log" 2>&1 &
    openbox_pid=$!
    pids+=("$openbox_pid")
    wait_for 20 wm_up_or_gone "$openbox_pid"
    wm_up && break
    echo "openbox attempt $attempt ended: $(cat "$work/openbox.log")" >&2
    [ "$attempt" = 3 ] && fail "openbox did not start: $(cat "$work/openbox.log") $(cat "$work/xvfb.log")"
  done
  # trayer now and then ends at once when it starts beside a window manager that has just come
  # up; it is started again then.
  local trayer_pid
  for attempt in 1 2 3; do
    trayer --edge bottom --align right --widthtype pixel --width 200 --heighttype pixel --height 30 \
      >"$work/trayer.log" 2>&1 &
    trayer_pid=$!
    pids+=("$trayer_pid")
    wait_for 20 trayer_up_or_gone "$trayer_pid"
    xdotool search --onlyvisible --class trayer >/dev/null 2>&1 && return 0
    echo "trayer attempt $attempt ended: $(cat "$work/trayer.log")" >&2
  done
  fail "trayer did not start: $(cat "$work/trayer.log")"
}

wm_up() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; }
wm_up_or_gone() { wm_up || process_gone "$1"; }
trayer_up_or_gone() { xdotool search --onlyvisible --class trayer || process_gone "$1"; }

# Settings as an earlier run left them, so a start is not the first run: no greeting, and the
# program goes to the notification area at once.
write_settings() {
  mkdir -p "$XDG_CONFIG_HOME/Lumenworks"
  cat >"$XDG_CONFIG_HOME/Lumenworks/Zarvo1.0.json" <<'JSON'
{
  "Settings": {"chk_mes": 0, "chk_sound": 0, "pl_h": "00", "pl_m": "30", "pl_s": "00",
               "sound_fn": "", "prog_fn": "", "simv_count": 15, "auto_run": 0, "auto_hide": 1},
  "Window": {"top": 246, "left": 365, "width": 551, "height": 308}
}
JSON
}

# A script that appends the moment it starts (seconds since the epoch) to a log, for tasks that
# run a program. Usage: write_time_recorder SCRIPT LOG
write_time_recorder() {
  printf '#!/bin/sh\nexec /usr/bin/date +%%s.%%N >>%s\n' "$2" >"$1"
  chmod +x "$1"
}

# COUNT every-day tasks that run PROGRAM, due in consecutive seconds from FIRST (seconds since the
# epoch), as the task file FILE. Usage: write_program_tasks FILE FIRST COUNT PROGRAM
write_program_tasks() {
  local file=$1 first=$2 count=$3 program=$4 i
  for ((i = 0; i < count; i++)); do
    printf '%%>>\r\n6\r\n%s\r\nNULL\r\nNULL\r\n%s\r\ntrue\r\n' \
      "$(date -d "@$((first + i))" +%-H:%M:%S)" "$program"
  done | iconv -f UTF-8 -t CP1251 >"$file"
}

# Starts the program from its folder as $zarvo_pid; the moment of the start is in $started_at.
start_program() {
  started_at=$EPOCHREALTIME
  (cd "$work/prog" && exec ./zarvo) &
  zarvo_pid=$!
}

# How many font files process PID has mapped.
font_files_mapped() { grep -c -E '\.(ttf|otf|pfb|pcf(\.gz)?)$' /proc/"$1"/maps; }

# The program as a copied program folder has it: the executable and, beside it, its sound plugin.
copy_program() {
  local folder=$1
  cp "$program" "$folder/zarvo"
  local plugin
  plugin="$(dirname "$program")/zarvo-sound.so"
  [ -f "$plugin" ] && cp "$plugin" "$folder/"
  return 0
}
