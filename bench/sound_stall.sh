#!/usr/bin/env bash
# Prints how long the UI thread is held by starting and stopping a sound beside a private
# PulseAudio server, first running, then stopped with SIGSTOP (a hung server), and with the
# server stopped before the first sound. Asserts nothing.
#   bench/sound_stall.sh BENCH_SOUNDSTALL
set -u
here=$(cd "$(dirname "$0")" && pwd)
bench=$1
pulse="$here/../tests/platform/run_with_pulse.sh"
for mode in "" --stopped-from-start; do
  echo "== ${mode:-first sound with the server running}"
  "$pulse" bash -c 'exec timeout 300 "$0" "$(cat "$XDG_RUNTIME_DIR/pulse/pid")" $1' "$bench" "$mode"
done
