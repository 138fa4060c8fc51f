#!/usr/bin/env bash
# Installs what is missing, builds vorncad and runs the demo script from examples/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/tools/setup.sh"
bash "$top/tools/build.sh" "$top/build" -DVORN_TESTS=OFF -DVORN_BENCH=OFF
mkdir -p "$top/out"
"$top/build/app/vorncad" -s "$top/examples/demo.scr" -o "$top/out/demo.dxf" --render "$top/out/demo.png"
echo "demo: wrote $top/out/demo.dxf and $top/out/demo.png"
