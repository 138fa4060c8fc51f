#!/usr/bin/env bash
# Draws the pictures of the user's guide: runs every script of docs/scripts/ with vorncad and
# writes docs/img/NAME.png (the drawing at the end of docs/scripts/NAME.scr) beside the dialog
# and drag pictures the scripts take themselves (@dialogshot, @snapshot).
#   bash tools/docs.sh            installs what is missing, builds into build/, draws every picture
#   bash tools/docs.sh road       only docs/scripts/road.scr
# VORNCAD=path/to/vorncad uses a program built elsewhere and skips the build.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "${VORNCAD:-}" ]; then
  bash "$top/tools/setup.sh"
  bash "$top/tools/build.sh" "$top/build" -DVORN_TESTS=OFF -DVORN_BENCH=OFF
  VORNCAD="$top/build/app/vorncad"
fi
size=800x600
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$top/docs/img"
cd "$top"  # the scripts name their pictures relative to the top: docs/img/...

if [ $# -gt 0 ]; then
  scripts=()
  for name in "$@"; do scripts+=("docs/scripts/$name.scr"); done
else
  scripts=(docs/scripts/*.scr)
fi

failed=0
for script in "${scripts[@]}"; do
  name=$(basename "$script" .scr)
  # A settings file of its own, fresh for each script: no dialog value of an earlier run leaks in.
  if ! "$VORNCAD" -s "$script" --settings "$work/$name.json" --size "$size" \
       -o "$work/$name.dxf" --render "docs/img/$name.png" > "$work/$name.log" 2>&1; then
    echo "docs: $script failed; its transcript:" >&2
    cat "$work/$name.log" >&2
    failed=1
    continue
  fi
  # A line of the script that the program did not take is a mistake in the guide.
  if grep -E 'is not accepted here|Unknown command|no dialog is open|has no control' "$work/$name.log" >&2; then
    echo "docs: $script has lines vorncad refused (above)" >&2
    failed=1
    continue
  fi
  echo "docs: docs/img/$name.png"
done
exit $failed
