#!/usr/bin/env bash
# Builds vorncad's Debian package: tools/package.sh [OUT_DIR] (default out/). A Release tree of
# its own (build-package/) without tests or benchmarks; install the result with
#   apt install ./out/vorncad_*.deb
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "${1:-$top/out}" && cd "${1:-$top/out}" && pwd)
bash "$top/tools/setup.sh"
bash "$top/tools/build.sh" "$top/build-package" -DCMAKE_BUILD_TYPE=Release -DVORN_TESTS=OFF -DVORN_BENCH=OFF
(cd "$top/build-package" && cpack -G DEB -B "$out")
rm -rf "$out/_CPack_Packages"
echo "package: $(ls "$out"/vorncad_*.deb)"
