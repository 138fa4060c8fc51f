#!/usr/bin/env bash
# Takes the pictures of the window for the README: the window while a road is dragged
# (docs/img/window-road.png), with the tree dialog open (docs/img/window-dialog.png) and with the
# plot dialog open (docs/img/window-plot.png).
# The window runs on a private virtual screen (Xvfb) and is driven with xdotool, as a user
# would: keys typed, the mouse moved and clicked.
#   bash tools/screenshots.sh [BUILD_DIR]     (default build/; built first when missing)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
winshot=${WINSHOT:-$top/../shared/tools/winshot}

need=()
command -v Xvfb >/dev/null || need+=(xvfb)
command -v xdotool >/dev/null || need+=(xdotool)
command -v import >/dev/null || need+=(imagemagick)
if [ ${#need[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${need[@]}"
fi
[ -x "$winshot" ] || { echo "screenshots: $winshot not found (set WINSHOT)" >&2; exit 2; }

if [ -f "$build/build.ninja" ]; then
  cmake --build "$build" --target vorncad VornGeneralDrawing_arx
else
  bash "$top/tools/build.sh" "$build"
fi
vorncad=$build/app/vorncad

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The demo's site plan to work on. The window gets settings and history of its own, so that
# the dialogs show their first values.
"$vorncad" --no-window -s "$top/examples/site-plan.scr" -o "$work/site.dxf" --settings "$work/demo.json" \
  >/dev/null
mkdir -p "$top/docs/img" "$work/window"
size=1280x860  # the window's own size: it fills the screen

# A road: the first segment picked from left to right across the lower part of the site, the
# second dragged upwards to the right (the preview follows the cursor).
"$winshot" -w 5 -s "$size" \
  -k "mousemove 640 400" -k "type KyDrawRoad" -k "key Return" \
  -k "mousemove 110 585 click 1" -k "mousemove 560 585 click 1" \
  -k "mousemove 760 520" -k "mousemove 900 470" \
  "$top/docs/img/window-road.png" -- "$vorncad" "$work/site.dxf" --settings "$work/window/settings.json"

# The tree command's dialog beside the window, waiting for the first tree's point.
"$winshot" -w 5 -s "$size" \
  -k "mousemove 640 400" -k "type KyRYBS" -k "key Return" -k "mousemove 520 470" \
  "$top/docs/img/window-dialog.png" -- "$vorncad" "$work/site.dxf" --settings "$work/window/settings.json"

# PLOT's dialog over the window, its preview the sheet at the drawing's scale.
"$winshot" -w 5 -s "$size" \
  -k "mousemove 640 400" -k "type PLOT" -k "key Return" \
  "$top/docs/img/window-plot.png" -- "$vorncad" "$work/site.dxf" --settings "$work/window/settings.json"
