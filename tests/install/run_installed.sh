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

here=$(cd "$(dirname "$0")/../e2e" && pwd)
source "$here/desktop.sh"
work=$(mktemp -d /tmp/zarvo-installed.XXXXXX)
prefix=$work/prefix

failure_shot=installed_failure.png
# The installed tree is read-only during the run; it is made writable again to be removed.
cleanup_installed() {
  chmod -R u+w "$work" 2>/dev/null
  cleanup
}
trap cleanup_installed EXIT

# Every file and folder of the tree with its size and change time.
snapshot() { (cd "$1" && find . -printf '%P %y %s %C@\n' | LC_ALL=C sort); }

mkdir -p "$work/elsewhere" "$artifacts"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || fail "cmake --install: $(cat "$work/install.log")"
# Read-only for the run; root may write anyway, so the tree is also compared afterwards.
chmod -R a-w "$prefix"
snapshot "$prefix" >"$work/before"

start_desktop

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
