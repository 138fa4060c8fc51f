#!/usr/bin/env bash
# Installs what is missing, builds vorncad and draws the site plan of examples/site-plan.scr:
# out/site-plan.dxf, out/site-plan.png and its plot out/site-plan.pdf (A1 at 1:500).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/tools/setup.sh"
bash "$top/tools/build.sh" "$top/build" -DVORN_TESTS=OFF -DVORN_BENCH=OFF
out="$top/out"
mkdir -p "$out"
# A settings file of its own, fresh each time, so that the plan comes out the same on every
# machine. The script names a library drawing by a path from the top of the tree.
rm -f "$out/settings.json"
cd "$top"
log="$out/site-plan.log"
if ! "$top/build/app/vorncad" -s examples/site-plan.scr --settings "$out/settings.json" \
        -o "$out/site-plan.dxf" --render "$out/site-plan.png" --size 2400x1600 \
        --plot "$out/site-plan.pdf" --sheet A1 --plot-scale 1:500 >"$log" 2>&1; then
    tail -n 20 "$log" >&2
    echo "demo: vorncad failed; its transcript is in $log" >&2
    exit 1
fi
if ! grep -q "Audit: no entity has non-finite or degenerate geometry." "$log"; then
    grep -A20 "Command: AUDIT" "$log" >&2 || true
    echo "demo: the drawing did not pass AUDIT; its transcript is in $log" >&2
    exit 1
fi
echo "demo: wrote $out/site-plan.dxf, $out/site-plan.png and $out/site-plan.pdf (A1 at 1:500; transcript: $log)"
