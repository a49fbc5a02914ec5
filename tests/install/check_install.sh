#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks what a desktop will see there: exactly the
# expected files, a desktop entry and AppStream metadata that the real validators accept, and
# names that agree with each other (entry id, metadata id, icon name, program name).
# Usage: check_install.sh BUILD_DIR SOURCE_DIR HAVE_PROGRAM(0|1)
set -uo pipefail

build=$1
source=$2
have_program=$3
app_id=org.example.Zarvo

work=$(mktemp -d /tmp/zarvo-install.XXXXXX)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 \
  || { cat "$work/install.log" >&2; echo "FAIL: cmake --install" >&2; exit 1; }

(cd "$prefix" && find . \( -type f -o -type l \) -printf '%P\n' | LC_ALL=C sort) >"$work/installed"
echo "Installed under $prefix:"
sed 's/^/  /' "$work/installed"

expected=(
  "share/applications/$app_id.desktop"
  "share/doc/zarvo/copyright"
  "share/icons/hicolor/scalable/apps/$app_id.svg"
  "share/metainfo/$app_id.metainfo.xml"
  "share/zarvo/zhelp.hlp"
  "share/doc/zarvo/changelog.gz"
  "share/man/man1/zarvo.1.gz"
  "share/man/ru/man1/zarvo.1.gz"
)
for size in 16 22 24 32 48 64 128 256; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/$app_id.png")
done
# The program, and the sound plugin it loads on its first sound, in the library folder the build
# was configured with.
libdir=$(sed -n 's/^CMAKE_INSTALL_LIBDIR:[A-Z]*=//p' "$build/CMakeCache.txt")
[ "$have_program" = 1 ] && expected+=(bin/zarvo "${libdir:-lib}/zarvo/plugins/zarvo-sound.so")
printf '%s\n' "${expected[@]}" | LC_ALL=C sort >"$work/expected"
if ! diff -u "$work/expected" "$work/installed" >"$work/diff"; then
  fail "installed files differ from the expected ones (- missing, + unexpected):"
  sed -n '3,$p' "$work/diff" | grep '^[-+]' >&2
fi

desktop=$prefix/share/applications/$app_id.desktop
metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
if [ -f "$desktop" ]; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $app_id.desktop"
fi
if [ -f "$metainfo" ]; then
  appstreamcli validate --no-net --pedantic "$metainfo" >"$work/appstream.log" 2>&1
  cat "$work/appstream.log"
  # Pedantic notes and infos are fine; errors and warnings are not.
  grep -E -q '^(E|W):' "$work/appstream.log" && fail "appstreamcli reports errors or warnings"
  grep -q 'Validation was successful' "$work/appstream.log" || fail "appstreamcli validation failed"
fi

key() { sed -n "s/^$1=//p" "$desktop" | head -n 1; }
if [ -f "$desktop" ]; then
  icon=$(key Icon)
  [ -f "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "Icon=$icon names no installed icon"
  [ "$(key Exec)" = zarvo ] || fail "Exec is '$(key Exec)', not zarvo"
  [ "$(key Name)" = Zarvo ] || fail "Name is '$(key Name)', not Zarvo"
  grep -q '^Comment\[ru\]=..' "$desktop" || fail "no Russian comment"
  if [ "$have_program" = 1 ]; then
    [ -x "$prefix/bin/$(key Exec)" ] || fail "Exec=$(key Exec) is not an installed program"
  fi
fi
if [ -f "$metainfo" ]; then
  grep -q "<id>$app_id</id>" "$metainfo" || fail "the metadata id is not $app_id"
  grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" \
    || fail "the metadata does not launch $app_id.desktop"
  grep -q '<description>' "$metainfo" && grep -q '<p xml:lang="ru">' "$metainfo" \
    || fail "the metadata lacks a Russian description"
fi
if [ -f "$prefix/share/zarvo/zhelp.hlp" ]; then
  cmp -s "$source/resources/zhelp.hlp" "$prefix/share/zarvo/zhelp.hlp" || fail "installed zhelp.hlp differs from the source"
fi

[ "$failures" = 0 ] || exit 1
echo "PASS: install tree"
