#!/usr/bin/env bash
# Installs what is missing, builds vorncad and runs the demo script from examples/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/tools/setup.sh"
bash "$top/tools/build.sh" "$top/build" -DVORN_TESTS=OFF -DVORN_BENCH=OFF
mkdir -p "$top/out"
# A settings file of its own, fresh each time, so that the demo draws the same on every machine.
rm -f "$top/out/settings.json"
"$top/build/app/vorncad" -s "$top/examples/demo.scr" --settings "$top/out/settings.json" -o "$top/out/demo.dxf" --render "$top/out/demo.png"
echo "demo: wrote $top/out/demo.dxf and $top/out/demo.png"
