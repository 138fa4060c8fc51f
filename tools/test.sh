#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test; then the same suite again
# under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bash "$top/tools/setup.sh"
# Tests on explicitly: tools/demo.sh configures the same tree with them off, and the cached
# option would otherwise leave nothing to run (and ctest would report that as a success).
bash "$top/tools/build.sh" "$top/build" -DVORN_TESTS=ON
(cd "$top/build" && ctest --output-on-failure --no-tests=error -j "$(nproc)")
if [ "${VORN_SKIP_SANITIZE:-0}" != 1 ]; then
  bash "$top/tools/build.sh" "$top/build-asan" -DVORN_SANITIZE=ON -DVORN_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
  (cd "$top/build-asan" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
     ctest --output-on-failure --no-tests=error -j "$(nproc)")
fi
# Every fuzz target briefly (20 s each); without clang this step says so and is skipped.
if [ "${VORN_SKIP_FUZZ:-0}" != 1 ]; then
  if command -v clang++ >/dev/null 2>&1; then
    bash "$top/tools/fuzz.sh" 20
  else
    echo "test: clang++ is not installed; the fuzz targets are not run"
  fi
fi
