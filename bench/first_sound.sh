#!/usr/bin/env bash
# How long the first sound of a run takes to reach the sound server, through the plugin loaded on
# the first Play: from the Play call to the server's report of the new stream, beside a private
# PulseAudio server (tests/platform/run_with_pulse.sh). The program and its plugin are copied to a
# folder of their own first, as a copied program folder. Prints figures; asserts nothing.
# bench_firstsound_linked, the player linked into the program as before, is measured beside it.
#   first_sound.sh BUILD_DIR [RUNS]
set -euo pipefail
build=$(realpath "$1")
runs=${2:-10}
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${ZARVO_TEST_SINK:-}" ]; then
  exec "$here/../tests/platform/run_with_pulse.sh" "$0" "$@"
fi
work=$(mktemp -d /tmp/zarvo-firstsound.XXXXXX)
watcher=""
trap '[ -n "$watcher" ] && kill "$watcher" 2>/dev/null; rm -rf "$work"' EXIT
cp "$build/bench/bench_firstsound" "$build/bench/bench_firstsound_linked" "$build/src/app/zarvo-sound.so" "$work/"
sox -n -r 44100 -c 2 -b 16 "$work/tone.wav" synth 0.5 sine 440 2>/dev/null
stdbuf -oL pactl subscribe | while IFS= read -r line; do printf '%s %s\n' "$EPOCHREALTIME" "$line"; done >"$work/events" &
watcher=$!
sleep 0.5
measure() {
  local program=$1 run at got
  : >"$work/ms"
  for ((run = 1; run <= runs; run++)); do
    "$work/$program" "$work/tone.wav" >"$work/out-$run" 2>"$work/err-$run" \
      || echo "$program: run $run ended with status $?: $(tail -n 1 "$work/err-$run")"
    at=$(awk '/^play at/ {print $3}' "$work/out-$run")
    got=$(awk -v at="$at" '$1 >= at && /new. on sink-input/ {print $1; exit}' "$work/events")
    [ -n "$got" ] && awk -v a="$got" -v b="$at" 'BEGIN {printf "%.1f\n", (a - b) * 1000}' >>"$work/ms"
  done
  sort -n "$work/ms" | awk -v p="$program" '{v[NR] = $1} END {
    if (NR == 0) { print p ": no stream reached the server"; exit }
    printf "%s: first sound, Play to the stream at the server, %d runs (ms): p50 %.1f  max %.1f\n", p, NR, v[int(0.5 * (NR - 1)) + 1], v[NR] }'
  grep -h "shared objects" "$work/out-1"
}
measure bench_firstsound_linked
measure bench_firstsound
