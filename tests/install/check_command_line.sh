#!/usr/bin/env bash
# The program's command line where there is no display at all (a text console, ssh, cron):
# --help and --version answer with text and exit code 0, a wrong command line and a start
# without a display say one line on stderr and end with exit code 2, never with Qt's abort.
# Usage: check_command_line.sh PROGRAM VERSION
set -uo pipefail

program=$1
version=$2
work=$(mktemp -d /tmp/zarvo-cmdline.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# run NAME ARGS...: runs the program with no display; its output goes to $work/NAME.out and .err,
# its exit code to $rc.
run() {
  local name=$1
  shift
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u DBUS_SESSION_BUS_ADDRESS \
    HOME="$work" XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
    LC_ALL=C.UTF-8 timeout 30 "$program" "$@" >"$work/$name.out" 2>"$work/$name.err"
  rc=$?
  echo "-- zarvo $* -> $rc"
  sed 's/^/   out: /' "$work/$name.out"
  sed 's/^/   err: /' "$work/$name.err"
}
lines() { wc -l <"$1"; }
cyrillic() { grep -q -P '[\x{0400}-\x{04FF}]' "$1"; }

run help --help
[ "$rc" = 0 ] || fail "--help ended with $rc"
for option in --add --help --version; do
  grep -q -- "$option" "$work/help.out" || fail "--help does not mention $option"
done
[ -s "$work/help.err" ] && fail "--help wrote to stderr"

run short_help -h
[ "$rc" = 0 ] && cmp -s "$work/help.out" "$work/short_help.out" || fail "-h differs from --help"

run version --version
[ "$rc" = 0 ] || fail "--version ended with $rc"
[ "$(cat "$work/version.out")" = "Zarvo $version" ] || fail "--version says '$(cat "$work/version.out")', not 'Zarvo $version'"

# Qt's own options are let through, so that a session restart with -session still starts.
run qt_options -platform xcb -session 1234abcd --version
[ "$rc" = 0 ] && [ "$(cat "$work/qt_options.out")" = "Zarvo $version" ] || fail "Qt's options are refused"

# A start that cannot run: exit code 2 and one line, in Russian, on stderr; nothing on stdout.
one_line_failure() {
  local name=$1 what=$2
  [ "$rc" = 2 ] || fail "$what ended with $rc, not 2"
  [ "$(lines "$work/$name.err")" = 1 ] || fail "$what wrote $(lines "$work/$name.err") lines to stderr, not one"
  cyrillic "$work/$name.err" || fail "$what's message is not in Russian"
  [ -s "$work/$name.out" ] && fail "$what wrote to stdout"
}
run misspelt --hlep
one_line_failure misspelt "a misspelt option"
grep -q -- '--hlep' "$work/misspelt.err" || fail "the message does not name --hlep"
run stray ztasks.zct
one_line_failure stray "a stray argument"

run no_display
one_line_failure no_display "a start without DISPLAY"
run add_no_display --add
one_line_failure add_no_display "--add without DISPLAY and without a running copy"

# A display that does not answer counts as none.
for ((n = 400; n < 500; n++)); do
  [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
done
env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=":$n" HOME="$work" XDG_RUNTIME_DIR="$work/runtime" \
  XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" LC_ALL=C.UTF-8 \
  timeout 30 "$program" >"$work/dead.out" 2>"$work/dead.err"
rc=$?
echo "-- DISPLAY=:$n zarvo -> $rc"
sed 's/^/   err: /' "$work/dead.err"
one_line_failure dead "a start on the silent display :$n"
grep -q ":$n" "$work/dead.err" || fail "the message does not name the display :$n"

# Nothing of a start was left behind: no lock, no socket, no settings.
[ -z "$(ls -A "$work/runtime")" ] || fail "left in the runtime folder: $(ls -A "$work/runtime")"
[ -e "$work/config" ] && fail "a start that could not run wrote settings"

[ "$failures" = 0 ] || exit 1
echo "PASS: command line without a display"
