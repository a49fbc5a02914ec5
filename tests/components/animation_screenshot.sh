#!/usr/bin/env bash
# Runs the animation over a real (virtual) X desktop and checks the screenshots: outline pixels
# are on the screen in the middle of the show and of the hide, and once the form has gone the
# screen is exactly as it was before the show. The screenshots stay in OUTDIR for people to see.
#
#   animation_screenshot.sh DEMO_PROGRAM OUTDIR FIGURE...
set -euo pipefail
demo=$1
outdir=$2
shift 2

work=$(mktemp -d)
xvfb_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# A white desktop that the X server itself repaints, so "as it was" is exact.
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -wr 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.05
done
[ -s "$work/display" ] || { echo "Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
export DISPLAY=":$(head -n1 "$work/display")"
export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 0700 "$XDG_RUNTIME_DIR"

differing_pixels() {
  # `compare` exits 1 when the images differ; the count goes to stderr.
  compare -metric AE "$1" "$2" null: 2>&1 || true
}

status=0
for figure in "$@"; do
  shots="$outdir/figure-$figure"
  rm -rf "$shots"
  mkdir -p "$shots"
  "$demo" "$shots" "$figure"
  for shot in before mid-show shown mid-hide after; do
    [ -s "$shots/$shot.png" ] || { echo "figure $figure: no $shot screenshot"; exit 1; }
  done
  mid_show=$(differing_pixels "$shots/before.png" "$shots/mid-show.png")
  shown=$(differing_pixels "$shots/before.png" "$shots/shown.png")
  mid_hide=$(differing_pixels "$shots/before.png" "$shots/mid-hide.png")
  after=$(differing_pixels "$shots/before.png" "$shots/after.png")
  echo "figure $figure: pixels changed mid-show $mid_show, form shown $shown, mid-hide $mid_hide, after $after"
  if [ "$mid_show" -lt 50 ]; then echo "figure $figure: no outlines in the middle of the show"; status=1; fi
  if [ "$mid_hide" -lt 50 ]; then echo "figure $figure: no outlines in the middle of the hide"; status=1; fi
  if [ "$shown" -lt 1000 ]; then echo "figure $figure: the form did not appear"; status=1; fi
  if [ "$after" != 0 ]; then echo "figure $figure: the screen was not left as it was"; status=1; fi
done
echo "screenshots in $outdir"
exit $status
