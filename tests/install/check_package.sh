#!/usr/bin/env bash
# Builds the Debian package with CPack into a scratch folder and checks it as a Debian reviewer
# would: lintian --pedantic reports no error and no warning, the control fields (each dependency
# once, the optional helpers recommended, a description that fits 80 columns), the contents and
# their form (DEP-5 copyright, changelog and manual pages gzipped -9n, PNG icons of the size their
# folder says, a stripped and hardened program, a desktop entry with its action and AppStream
# metadata that validate), that its files unpack into a throwaway root, and that apt could
# install it here.
# Usage: check_package.sh BUILD_DIR HAVE_PROGRAM(0|1) OPTIMISED(0|1)
set -uo pipefail

build=$1
have_program=$2
optimised=${3:-1}
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

# A relation field as one package name per line, versions dropped, in the field's order.
names() { field "$1" | tr ',' '\n' | sed 's/(.*)//; s/[[:space:]]//g' | grep .; }
names Depends >"$work/depends"
wanted=(libqt6svg6)
[ "$have_program" = 1 ] && wanted+=(libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6multimedia6)
for name in "${wanted[@]}"; do
  grep -q -x "$name" "$work/depends" || fail "Depends lacks $name"
done
grep -q -x libqt6network6 "$work/depends" && fail "Depends names libqt6network6, which nothing links"
duplicates=$(LC_ALL=C sort "$work/depends" | uniq -d | tr '\n' ' ')
[ -z "$duplicates" ] || fail "Depends names more than once: $duplicates"
# Helpers the program runs without; a Depends on them would pull megabytes into a minimal install.
for name in qt6-translations-l10n xdg-utils qt6-wayland; do
  grep -q -x "$name" "$work/depends" && fail "$name is a Depends, not a Recommends"
  names Recommends | grep -q -x "$name" || fail "Recommends lacks $name"
done
# The extended description: continuation lines that fit 80 columns, more than the synopsis.
dpkg-deb -f "$deb" Description | awk 'length > 80 {print "FAIL: description line over 80 columns: " $0; bad=1} END {exit bad}' >&2 \
  || fail "the description has lines over 80 columns"
[ "$(dpkg-deb -f "$deb" Description | wc -l)" -ge 3 ] || fail "the description has no extended part"

echo "Contents:"
dpkg-deb -c "$deb" | awk '{print "  " $NF}'
dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./||' >"$work/contents"
icon_sizes=(16 22 24 32 48 64 128 256)
expected=(
  "usr/share/applications/$app_id.desktop"
  "usr/share/metainfo/$app_id.metainfo.xml"
  "usr/share/icons/hicolor/scalable/apps/$app_id.svg"
  "usr/share/zarvo/zhelp.hlp"
  "usr/share/doc/zarvo/copyright"
  "usr/share/doc/zarvo/changelog.gz"
  "usr/share/man/man1/zarvo.1.gz"
  "usr/share/man/ru/man1/zarvo.1.gz"
)
for size in "${icon_sizes[@]}"; do
  expected+=("usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png")
done
libdir=$(sed -n 's/^CMAKE_INSTALL_LIBDIR:[A-Z]*=//p' "$build/CMakeCache.txt")
[ "$have_program" = 1 ] && expected+=(usr/bin/zarvo "usr/${libdir:-lib}/zarvo/plugins/zarvo-sound.so")
for path in "${expected[@]}"; do
  grep -q -x "$path" "$work/contents" || fail "the package lacks /$path"
done
# Besides /usr/bin and /usr/share, only the program's own library folder (the sound plugin).
grep -v -E "^(usr/?|usr/(bin|share)(/.*)?|usr/${libdir:-lib}/?|usr/${libdir:-lib}/zarvo(/.*)?|usr/lib/?)$" "$work/contents" >"$work/stray"
[ -s "$work/stray" ] && fail "files outside /usr/bin, /usr/share and the program's library folder: $(tr '\n' ' ' <"$work/stray")"

# A throwaway root: unpacked files are whole and the program is executable.
dpkg-deb -x "$deb" "$work/root" || fail "dpkg-deb -x failed"
if [ "$have_program" = 1 ]; then
  [ -x "$work/root/usr/bin/zarvo" ] || fail "/usr/bin/zarvo is not executable after unpacking"
  file "$work/root/usr/bin/zarvo" | grep -q 'ELF .*executable' || fail "/usr/bin/zarvo is not a program: $(file "$work/root/usr/bin/zarvo")"
fi

# Gzipped as `gzip -9n` makes it: no file name, no time stamp, best compression (RFC 1952
# header: FLG byte 3 without FNAME, MTIME bytes 4-7 zero, XFL byte 8 = 2).
gzip_9n() {
  local header
  header=$(od -An -tu1 -N10 "$1" | tr -s ' ' | sed 's/^ //')
  read -r id1 id2 cm flg m1 m2 m3 m4 xfl os <<<"$header"
  [ "$id1 $id2 $cm" = "31 139 8" ] && [ $((flg & 8)) = 0 ] && [ "$m1$m2$m3$m4" = 0000 ] && [ "$xfl" = 2 ]
}
root=$work/root
for path in usr/share/doc/zarvo/changelog.gz usr/share/man/man1/zarvo.1.gz usr/share/man/ru/man1/zarvo.1.gz; do
  [ -f "$root/$path" ] || continue
  gzip_9n "$root/$path" || fail "/$path is not gzipped with -9n: $(od -An -tx1 -N10 "$root/$path")"
done

# Copyright: machine-readable, pointing to the system's copy of the GPL instead of holding it.
copyright=$root/usr/share/doc/zarvo/copyright
if [ -f "$copyright" ]; then
  head -n 1 "$copyright" | grep -q -x 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
    || fail "the copyright file is not DEP-5"
  grep -q '/usr/share/common-licenses/GPL-3' "$copyright" || fail "the copyright file does not point to common-licenses/GPL-3"
  grep -q 'TERMS AND CONDITIONS' "$copyright" && fail "the copyright file holds the whole GPL"
fi
# Changelog: Debian's format, its newest entry for this very version.
if [ -f "$root/usr/share/doc/zarvo/changelog.gz" ]; then
  zcat "$root/usr/share/doc/zarvo/changelog.gz" >"$work/changelog"
  logged=$(dpkg-parsechangelog -l "$work/changelog" -S Version 2>"$work/changelog.err") \
    || fail "dpkg-parsechangelog cannot read the changelog: $(cat "$work/changelog.err")"
  [ "$logged" = "$(field Version)" ] || fail "the changelog's newest version is '$logged', not $(field Version)"
fi
# Manual pages: man formats both without a warning; the Russian one is in Russian.
for page in usr/share/man/man1/zarvo.1.gz usr/share/man/ru/man1/zarvo.1.gz; do
  [ -f "$root/$page" ] || continue
  LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$root/$page" \
    >/dev/null 2>"$work/man.err" || fail "man cannot format /$page"
  [ -s "$work/man.err" ] && fail "man warns about /$page: $(cat "$work/man.err")"
done
[ -f "$root/usr/share/man/ru/man1/zarvo.1.gz" ] && ! zcat "$root/usr/share/man/ru/man1/zarvo.1.gz" | grep -q '^\.SH ИМЯ' \
  && fail "the Russian manual page is not in Russian"

# Icons: each PNG is square at the size its folder names (the IHDR width and height).
for size in "${icon_sizes[@]}"; do
  png=$root/usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png
  [ -f "$png" ] || continue
  actual=$(/usr/bin/python3 -c 'import struct,sys
d=open(sys.argv[1],"rb").read(24)
print("%dx%d" % struct.unpack(">II", d[16:24]) if d[:8]==b"\x89PNG\r\n\x1a\n" else "not a PNG")' "$png")
  [ "$actual" = "${size}x${size}" ] || fail "the ${size}x${size} icon is $actual"
done

# The desktop entry (with its action) and the AppStream metadata, as packaged.
desktop=$root/usr/share/applications/$app_id.desktop
if [ -f "$desktop" ]; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the packaged entry"
  grep -q -x 'StartupNotify=false' "$desktop" || fail "the entry does not say StartupNotify=false"
  grep -q -x 'Actions=add-task;' "$desktop" || fail "the entry lists no add-task action"
  action=$(sed -n '/^\[Desktop Action add-task\]/,/^\[/p' "$desktop")
  grep -q -x 'Exec=zarvo --add' <<<"$action" || fail "the add-task action does not run zarvo --add"
  grep -q -x 'Name\[ru\]=Добавить задание' <<<"$action" || fail "the add-task action is not named Добавить задание"
fi
metainfo=$root/usr/share/metainfo/$app_id.metainfo.xml
if [ -f "$metainfo" ]; then
  appstreamcli validate --no-net --pedantic "$metainfo" >"$work/appstream.log" 2>&1
  grep -E -q '^(E|W):' "$work/appstream.log" && { cat "$work/appstream.log"; fail "appstreamcli reports errors or warnings"; }
  grep -q 'Validation was successful' "$work/appstream.log" || { cat "$work/appstream.log"; fail "appstreamcli validation failed"; }
fi

# The program: stripped of what nothing reads at run time, and hardened.
program=$root/usr/bin/zarvo
if [ "$have_program" = 1 ] && [ -f "$program" ]; then
  readelf -S -W "$program" >"$work/sections"
  grep -q ' \.symtab ' "$work/sections" && fail "the program is not stripped"
  grep -E -q ' \.(comment|note) ' "$work/sections" && fail "the program keeps its .comment or .note section"
  readelf -l -W "$program" | grep -q GNU_RELRO || fail "the program is not linked with -z relro"
  readelf -d -W "$program" >"$work/dynamic"
  grep -E -q 'BIND_NOW|FLAGS_1.*NOW' "$work/dynamic" || fail "the program is not linked with -z now"
  grep -E -q 'FLAGS_1.*PIE' "$work/dynamic" || fail "the program is not a position independent executable"
  # The sound stack comes with the plugin, on the first sound; the program does not load it.
  grep -q 'NEEDED.*libQt6Multimedia' "$work/dynamic" && fail "the program links Qt Multimedia itself"
  # The channel to a running copy is a plain local socket: Qt Network would bring Kerberos and
  # proxy libraries into every start.
  grep -q 'NEEDED.*libQt6Network' "$work/dynamic" && fail "the program links Qt Network"
  [ -f "$root/usr/${libdir:-lib}/zarvo/plugins/zarvo-sound.so" ] && ! readelf -d -W "$root/usr/${libdir:-lib}/zarvo/plugins/zarvo-sound.so" | grep -q 'NEEDED.*libQt6Multimedia' \
    && fail "the sound plugin does not link Qt Multimedia"
  # The program itself calls no C library function that _FORTIFY_SOURCE replaces (the string
  # work is Qt's), so the binary cannot show it; the flag is checked where it is given.
  if [ "$optimised" = 1 ]; then
    unfortified=$(/usr/bin/python3 -c 'import json,sys
for c in json.load(open(sys.argv[1])):
    if "/src/" in c["file"] and "-D_FORTIFY_SOURCE=2" not in c["command"]:
        print(c["file"])' "$build/compile_commands.json")
    [ -z "$unfortified" ] || fail "compiled without _FORTIFY_SOURCE=2: $unfortified"
  fi
fi

# lintian, as pedantic as it goes: no error and no warning; the rest is shown.
lintian --pedantic --display-info --display-experimental --color never "$deb" >"$work/lintian.log" 2>"$work/lintian.err"
echo "lintian --pedantic:"
sed 's/^/  /' "$work/lintian.log"
[ -s "$work/lintian.log" ] || echo "  (nothing)"
grep -E -q '^(E|W): ' "$work/lintian.log" && fail "lintian reports errors or warnings"
grep -v -E 'running with root privileges' "$work/lintian.err" | grep -q . && { cat "$work/lintian.err" >&2; fail "lintian did not run cleanly"; }

# apt resolves its dependencies on this system (simulated: nothing is installed).
apt-get install -s -q "$deb" >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; fail "apt-get cannot install the package"; }
grep -q '^Inst zarvo ' "$work/apt.log" || { cat "$work/apt.log" >&2; fail "apt-get would not install zarvo"; }

[ "$failures" = 0 ] || exit 1
echo "PASS: Debian package"
