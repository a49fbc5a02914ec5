#!/usr/bin/env bash
# Window placement round-trips: five start/exit cycles in a row start the main window at the
# same place and save the same numbers (the outer frame's top-left), and a stored place off the
# screen comes back onto it.
# Usage: run_placement.sh PROGRAM ARTIFACT_DIR
set -uo pipefail

program=$1
artifacts=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d /tmp/zarvo-e2e-place.XXXXXX)
failure_shot=e2e_placement_failure.png
# shellcheck source=desktop.sh
source "$here/desktop.sh"
trap cleanup EXIT

settings_file=
# The main window stays on screen at start; the stored place is LEFT,TOP.
write_place() {
  settings_file="$XDG_CONFIG_HOME/Lumenworks/Zarvo1.0.json"
  mkdir -p "$(dirname "$settings_file")"
  cat >"$settings_file" <<JSON
{
  "Settings": {"chk_mes": 0, "chk_sound": 0, "pl_h": "00", "pl_m": "30", "pl_s": "00",
               "sound_fn": "", "prog_fn": "", "simv_count": 15, "auto_run": 0, "auto_hide": 0},
  "Window": {"top": $2, "left": $1, "width": 551, "height": 308}
}
JSON
}
stored() { /usr/bin/python3 -c 'import json,sys; w=json.load(open(sys.argv[1]))["Window"]; print("%d,%d" % (w["left"], w["top"]))' "$settings_file"; }

# The frame's place on the screen: the client's absolute place less the frame's extents.
frame_place() {
  local id=$1 x y extents fl ft
  x=$(xwininfo -id "$id" | awk -F: '/Absolute upper-left X/{print $2+0}')
  y=$(xwininfo -id "$id" | awk -F: '/Absolute upper-left Y/{print $2+0}')
  extents=$(xprop -id "$id" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
  read -r fl _ ft _ <<<"${extents:-0 0 0 0}"
  echo "$((x - fl)),$((y - ft))"
}
has_frame() { xprop -id "$1" _NET_FRAME_EXTENTS | grep -q '='; }

# One session: start, wait for the window to be placed, exit with Escape; prints the frame's place.
session() {
  start_program
  wait_for 30 has_window_named '^Zarvo$' || fail "the main window did not appear"
  local main
  main=$(window_named '^Zarvo$')
  wait_for 10 has_frame "$main" || fail "the window manager gave the main window no frame"
  sleep 0.3
  frame_place "$main"
  press "$main" Escape
  wait_for 20 process_gone "$zarvo_pid" || fail "Escape did not end the program"
  wait "$zarvo_pid" 2>/dev/null
  zarvo_pid=
}

start_desktop
cp "$program" "$work/prog/zarvo"

step "five sessions from 365,246"
write_place 365 246
for cycle in 1 2 3 4 5; do
  seen=$(session)
  saved=$(stored)
  echo "session $cycle: frame at $seen, saved $saved"
  [ "$seen" = "365,246" ] || fail "session $cycle: the frame is at $seen, not 365,246"
  [ "$saved" = "365,246" ] || fail "session $cycle: $saved saved, not 365,246"
done

step "a place off the screen"
write_place 5000 -400
seen=$(session)
IFS=, read -r x y <<<"$seen"
screen=$(xdpyinfo | awk '/dimensions:/{print $2}')
IFS=x read -r sw sh <<<"$screen"
echo "stored 5000,-400: frame at $seen on a ${sw}x${sh} screen, saved $(stored)"
[ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + 551)) -le "$sw" ] && [ $((y + 308)) -le "$sh" ] \
  || fail "the window at $seen is not on the ${sw}x${sh} screen"
[ "$(stored)" = "$seen" ] || fail "$(stored) saved, the frame was at $seen"

echo "PASS: five sessions start at the same place; a place off the screen comes back"
