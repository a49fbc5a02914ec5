#!/usr/bin/env bash
# Runs a command on a private desktop (Xvfb, openbox, trayer, D-Bus with the accessibility bus)
# with the settings of a fresh user; its pictures go to ARTIFACT_DIR ($ZARVO_ARTIFACTS).
# Usage: run_on_desktop.sh ARTIFACT_DIR COMMAND [ARGUMENTS...]
set -uo pipefail

artifacts=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d /tmp/zarvo-e2e-desktop.XXXXXX)
# shellcheck source=desktop.sh
source "$here/desktop.sh"
trap cleanup EXIT

start_desktop
export ZARVO_ARTIFACTS="$artifacts"
"$@"
