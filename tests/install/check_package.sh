#!/usr/bin/env bash
# Builds the Debian package with CPack into a scratch folder and checks its control fields, its
# contents, that its files unpack into a throwaway root, and that apt could install it here.
# Usage: check_package.sh BUILD_DIR HAVE_PROGRAM(0|1)
set -uo pipefail

build=$1
have_program=$2
app_id=org.example.Zarvo

work=$(mktemp -d /tmp/zarvo-package.XXXXXX)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log" >&2; echo "FAIL: cpack -G DEB" >&2; exit 1; }
arch=$(dpkg --print-architecture)
deb=$work/out/zarvo_1.0.0_$arch.deb
[ -f "$deb" ] || { ls "$work/out" >&2; echo "FAIL: no $(basename "$deb")" >&2; exit 1; }

echo "Control fields of $(basename "$deb"):"
dpkg-deb -f "$deb" | sed 's/^/  /'
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = zarvo ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = 1.0.0 ] || fail "Version is '$(field Version)'"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture is '$(field Architecture)', not $arch"
[ "$(field Maintainer)" = "Zarvo developers <zarvo@example.org>" ] || fail "Maintainer is '$(field Maintainer)'"
[ "$(field Section)" = utils ] || fail "Section is '$(field Section)'"
[ -n "$(field Description)" ] || fail "no Description"

# Depends as one package name per line, versions dropped.
field Depends | tr ',' '\n' | sed 's/(.*)//; s/[[:space:]]//g' | grep . | LC_ALL=C sort -u >"$work/depends"
wanted=(libqt6svg6 qt6-translations-l10n)
[ "$have_program" = 1 ] && wanted+=(libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6multimedia6)
for name in "${wanted[@]}"; do
  grep -q -x "$name" "$work/depends" || fail "Depends lacks $name"
done

echo "Contents:"
dpkg-deb -c "$deb" | awk '{print "  " $NF}'
dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./||' >"$work/contents"
expected=(
  "usr/share/applications/$app_id.desktop"
  "usr/share/metainfo/$app_id.metainfo.xml"
  "usr/share/icons/hicolor/scalable/apps/$app_id.svg"
  "usr/share/zarvo/zhelp.hlp"
  "usr/share/doc/zarvo/copyright"
)
[ "$have_program" = 1 ] && expected+=(usr/bin/zarvo)
for path in "${expected[@]}"; do
  grep -q -x "$path" "$work/contents" || fail "the package lacks /$path"
done
grep -v -E '^(usr/?|usr/(bin|share)(/.*)?)$' "$work/contents" >"$work/stray"
[ -s "$work/stray" ] && fail "files outside /usr/bin and /usr/share: $(tr '\n' ' ' <"$work/stray")"

# A throwaway root: unpacked files are whole and the program is executable.
dpkg-deb -x "$deb" "$work/root" || fail "dpkg-deb -x failed"
if [ "$have_program" = 1 ]; then
  [ -x "$work/root/usr/bin/zarvo" ] || fail "/usr/bin/zarvo is not executable after unpacking"
  file "$work/root/usr/bin/zarvo" | grep -q 'ELF .*executable' || fail "/usr/bin/zarvo is not a program: $(file "$work/root/usr/bin/zarvo")"
fi

# apt resolves its dependencies on this system (simulated: nothing is installed).
apt-get install -s -q "$deb" >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; fail "apt-get cannot install the package"; }
grep -q '^Inst zarvo ' "$work/apt.log" || { cat "$work/apt.log" >&2; fail "apt-get would not install zarvo"; }

[ "$failures" = 0 ] || exit 1
echo "PASS: Debian package"
