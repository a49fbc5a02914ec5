#!/usr/bin/env bash
# Plays sounds through zarvo_sound_probe and checks what reached the null sink of
# run_with_pulse.sh, by recording its monitor and measuring the recording with sox. Sound is
# judged by amplitude (and frequency), never by the length of a recording.
#
#   check_sound_output.sh PROBE
set -u
probe=$1
sink=${ZARVO_TEST_SINK:?run me through run_with_pulse.sh}

for tool in parec sox soxi; do
    command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is not installed"; exit 77; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/zarvo-sound.XXXXXX")
rec="$work/recorded"
mkdir "$rec"
rec_pid=""
cleanup() {
    [ -n "$rec_pid" ] && kill "$rec_pid" 2>/dev/null && wait "$rec_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

passed=0
failed=0
check() { # check NAME CONDITION-TEXT DETAILS
    if [ "$2" = 1 ]; then
        passed=$((passed + 1))
        echo "PASS   : $1"
    else
        failed=$((failed + 1))
        echo "FAIL!  : $1 ($3)"
    fi
}

# record NAME PROBE-STEPS...: records the sink while the probe runs the steps.
record() {
    local name=$1
    shift
    parec --latency-msec=20 -d "$sink.monitor" --file-format=wav "$rec/$name.wav" &
    rec_pid=$!
    # The monitor drops what plays before the recording stream runs: wait until data arrives.
    for _ in $(seq 100); do
        [ "$(stat -c %s "$rec/$name.wav" 2>/dev/null || echo 0)" -gt 65536 ] && break
        sleep 0.05
    done
    "$probe" "$@" >"$rec/$name.log" 2>&1
    sleep 0.7
    kill -INT "$rec_pid"
    wait "$rec_pid" 2>/dev/null
    rec_pid=""
}

# amp FILE [EFFECT...]: maximum amplitude (0..1) after the effects.
amp() {
    local file=$1
    shift
    sox "$file" -n "$@" stat 2>&1 | awk '/^Maximum amplitude/ {print $3}'
}

# freq FILE: rough frequency of the sound in FILE's first channel (sox counts the zero crossings
# of all channels together), silence before and after left out.
freq() {
    sox "$1" "$work/freq.wav" silence 1 0.005 2% reverse silence 1 0.005 2% reverse 2>/dev/null
    sox "$work/freq.wav" -n remix 1 stat 2>&1 | awk '/^Rough   frequency/ {print $3}'
}

# span FILE [EFFECT...]: seconds from the first to the last sound louder than 2% of full scale.
span() {
    local file=$1
    shift
    sox "$file" "$work/span.wav" "$@" silence 1 0.005 2% reverse silence 1 0.005 2% reverse 2>/dev/null
    soxi -D "$work/span.wav" 2>/dev/null || echo 0
}

# sounding FILE: seconds during which anything louder than 2% of full scale sounds, all
# stretches of silence longer than 50 ms taken out.
sounding() {
    sox "$1" "$work/sounding.wav" silence 1 0.005 2% -1 0.05 2% 2>/dev/null
    soxi -D "$work/sounding.wav" 2>/dev/null || echo 0
}

is() { awk "BEGIN {exit !($1)}" && echo 1 || echo 0; }

sox -n -b 16 -r 44100 -c 2 "$work/pcm16.wav" synth 1 sine 440 vol 0.5
sox -n -b 24 -r 48000 -c 1 "$work/pcm24.wav" synth 1 sine 440 vol 0.5
sox -n -e floating-point -b 32 -r 44100 -c 2 "$work/float32.wav" synth 1 sine 440 vol 0.5
sox -n -e unsigned-integer -b 8 -r 11025 -c 1 "$work/pcm8.wav" synth 1 sine 440 vol 0.5
sox -n -b 16 -r 44100 -c 1 "$work/long.wav" synth 6 sine 330 vol 0.5
sox -n -b 16 -r 44100 -c 1 "$work/low.wav" synth 6 sine 200 vol 0.5
sox -n -b 16 -r 22050 -c 1 "$work/high.wav" synth 0.4 sine 2000 vol 0.5
echo "Это не звуковой файл." >"$work/text.wav"

for kind in pcm16 pcm24 float32 pcm8; do
    record "$kind" "$work/$kind.wav" 1500
    a=$(amp "$rec/$kind.wav")
    f=$(freq "$rec/$kind.wav")
    check "$kind file plays" "$(is "$a > 0.3")" "maximum amplitude $a"
    check "$kind file plays its own tone" "$(is "$f > 400 && $f < 480")" "rough frequency $f, 440 expected"
    check "$kind file reported playable" "$(grep -c "play .* true" "$rec/$kind.log")" "$(cat "$rec/$kind.log")"
done

for kind in missing text; do
    file="$work/$kind.wav"
    [ "$kind" = missing ] && file="$work/no-such-file.wav"
    record "$kind" "$file" 1500
    a=$(amp "$rec/$kind.wav")
    s=$(span "$rec/$kind.wav")
    check "$kind file sounds the default chime" "$(is "$a > 0.3 && $s > 0.3 && $s < 1.0")" \
        "maximum amplitude $a over $s s"
    check "$kind file reported unplayable" "$(grep -c "play .* false" "$rec/$kind.log")" "$(cat "$rec/$kind.log")"
done

# The low tones below are told from the high marker by steep filters: "sinc -600" keeps what is
# under 600 Hz, "sinc 1200" what is over 1200 Hz.

# Stop: a six-second tone stopped after 0.6 s, then a short high marker 2.5 s later that proves the
# recording covers the stretch in between.
record stop "$work/long.wav" 600 stop 2500 "$work/high.wav" 1000
tone=$(amp "$rec/stop.wav" sinc -600)
tonespan=$(span "$rec/stop.wav" sinc -600)
marker=$(amp "$rec/stop.wav" sinc 1200)
all=$(span "$rec/stop.wav")
check "the tone played before stop" "$(is "$tone > 0.3")" "maximum amplitude $tone"
check "stop ends the tone" "$(is "$tonespan < 1.2")" "tone heard for $tonespan s of its 6 s"
check "the recording covers the time after stop" "$(is "$marker > 0.35 && $all > 2.5")" \
    "marker amplitude $marker, $all s from first to last sound"

# Replacement: a long low tone, then a short high one 0.6 s later: the low one ends there, and once
# the high one has ended nothing sounds until the marker.
record replace "$work/low.wav" 600 "$work/high.wav" 2500 "$work/high.wav" 1000
low=$(amp "$rec/replace.wav" sinc -600)
lowspan=$(span "$rec/replace.wav" sinc -600)
high=$(amp "$rec/replace.wav" sinc 1200)
all=$(span "$rec/replace.wav")
heard=$(sounding "$rec/replace.wav")
check "the first sound played" "$(is "$low > 0.3")" "maximum amplitude $low"
check "the second sound played" "$(is "$high > 0.35")" "maximum amplitude $high"
check "the first sound ends where the second starts" "$(is "$lowspan < 1.2")" "low tone heard for $lowspan s"
check "silence after the second sound" "$(is "$heard < 2.0 && $all > 2.5")" \
    "sound heard for $heard s of the $all s from first to last sound"

[ -n "${ZARVO_SOUND_KEEP:-}" ] && cp -r "$rec" "$ZARVO_SOUND_KEEP"
echo "Totals: $passed passed, $failed failed, 0 skipped"
[ "$failed" -eq 0 ]
