#!/usr/bin/env bash
# Installs what Zarvo needs from Debian's archive (only what is missing), then configures and
# builds into ./build. Used by run.sh and test.sh; safe to run again.
set -euo pipefail
cd "$(dirname "$0")/.."

build_packages=(ccache cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev
  qt6-svg-dev qt6-qpa-plugins qt6-translations-l10n libqt6svg6 libqt6multimedia6 libpulse-dev
  libxcb1-dev libxcb-shape0-dev fonts-paratype fonts-liberation2)
test_packages=(xvfb xauth xdotool x11-utils imagemagick trayer openbox dbus dbus-x11 pulseaudio
  pulseaudio-utils sox xdg-utils python3 python3-dbus python3-gi at-spi2-core python3-pyatspi
  desktop-file-utils appstream dpkg-dev file fonts-dejavu-core lintian man-db)

want=("${build_packages[@]}")
if [ "${1:-}" = "--with-test-tools" ]; then
  want+=("${test_packages[@]}")
fi

missing=()
for p in "${want[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing from Debian: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build_type="${ZARVO_BUILD_TYPE:-RelWithDebInfo}"
build_dir="${ZARVO_BUILD_DIR:-build}"
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE="$build_type" ${ZARVO_CMAKE_ARGS:-} >/dev/null
# ZARVO_BUILD_TARGETS narrows the build to those targets (and what they need).
targets=()
for target in ${ZARVO_BUILD_TARGETS:-}; do targets+=(--target "$target"); done
cmake --build "$build_dir" --parallel "$(nproc)" "${targets[@]}"
