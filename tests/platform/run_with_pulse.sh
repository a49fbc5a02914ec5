#!/usr/bin/env bash
# Runs a command beside a private PulseAudio server whose only output is a null sink, so tests can
# record what was played from the sink's monitor. Exports ZARVO_TEST_SINK, the sink's name.
# Exits 77 (skipped) only when no audio server can be started here; says so and why.
#
#   run_with_pulse.sh COMMAND [ARG...]
set -u

skip() {
    echo "SKIPPED: no audio server could be started here: $*"
    exit 77
}

for tool in pulseaudio pactl; do
    command -v "$tool" >/dev/null || skip "$tool is not installed"
done

work=$(mktemp -d "${TMPDIR:-/tmp}/zarvo-pulse.XXXXXX") || skip "no temporary folder"
pulse_pid=""
cleanup() {
    if [ -z "$pulse_pid" ] && [ -f "$work/run/pulse/pid" ]; then
        pulse_pid=$(cat "$work/run/pulse/pid")
    fi
    if [ -n "$pulse_pid" ]; then
        kill "$pulse_pid" 2>/dev/null
        for _ in $(seq 50); do
            kill -0 "$pulse_pid" 2>/dev/null || break
            sleep 0.1
        done
        kill -9 "$pulse_pid" 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A server of our own: fresh runtime and home folders, nothing of the caller's session.
mkdir -m 0700 "$work/run" "$work/home"
export XDG_RUNTIME_DIR="$work/run" HOME="$work/home"
unset PULSE_SERVER PULSE_SINK PULSE_SOURCE PULSE_COOKIE PULSE_RUNTIME_PATH
export ZARVO_TEST_SINK="zarvo_test_$$"

pulseaudio --daemonize=yes --system=false --exit-idle-time=-1 -n \
    --load="module-null-sink sink_name=$ZARVO_TEST_SINK" \
    --load="module-native-protocol-unix" >"$work/pulse.log" 2>&1 ||
    skip "pulseaudio did not start: $(tail -n 3 "$work/pulse.log" | tr '\n' ' ')"

ready=""
for _ in $(seq 100); do
    if pactl info >/dev/null 2>&1; then
        ready=yes
        break
    fi
    sleep 0.1
done
[ -f "$work/run/pulse/pid" ] && pulse_pid=$(cat "$work/run/pulse/pid")
[ -n "$ready" ] || skip "pulseaudio does not answer: $(tail -n 3 "$work/pulse.log" | tr '\n' ' ')"

"$@"
