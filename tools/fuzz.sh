#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a while:
#   tools/fuzz.sh [SECONDS [TARGET...]]     (default 30 seconds each, every target)
# Targets: dxf scriptlines script libgroup settings. The corpus of each grows in
# BUILD/corpus/TARGET between runs, seeded from examples/, support/, tests/ and fuzz/seeds/;
# an input that crashes, hangs or breaks a check is written to BUILD/artifacts/TARGET/ and the
# script ends non-zero. Keep such an input in fuzz/regressions/TARGET/ once the fault is fixed.
# VORN_FUZZ_BUILD names the build tree (default build-fuzz); VORN_FUZZ_JOBS runs that many
# targets side by side (default 1).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-30}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(dxf scriptlines script libgroup settings)
build=${VORN_FUZZ_BUILD:-$top/build-fuzz}
jobs=${VORN_FUZZ_JOBS:-1}

if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz: clang++ is not installed; the fuzz targets are skipped (tools/setup.sh installs it)"
  exit 0
fi

# Coverage for libFuzzer in every library; the fuzz programs link the fuzzer itself. clang
# warns about a few things gcc does not; the gcc build keeps those as errors.
CC=clang CXX=clang++ cmake -S "$top" -B "$build" -G Ninja -DVORN_FUZZ=ON -DVORN_SANITIZE=ON \
  -DVORN_TESTS=OFF -DVORN_BENCH=OFF -DVORN_GUI=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_FLAGS="-fsanitize=fuzzer-no-link" \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link -Wno-error=unused-const-variable" \
  ${CMAKE_CXX_COMPILER_LAUNCHER:+-DCMAKE_CXX_COMPILER_LAUNCHER=$CMAKE_CXX_COMPILER_LAUNCHER} >/dev/null
cmake --build "$build" --target "${targets[@]/#/fuzz_}" -j "$(nproc)"

# Seeds of one target: files copied into its corpus folder (kept ones are left as they are).
seed() {
  local corpus=$1
  shift
  local f
  for f in "$@"; do
    [ -f "$f" ] && cp -n "$f" "$corpus/seed-$(basename "$(dirname "$f")")-$(basename "$f")"
  done
  return 0
}

run_one() {
  local t=$1
  local corpus=$build/corpus/$t artifacts=$build/artifacts/$t
  mkdir -p "$corpus" "$artifacts"
  local dict=()
  case $t in
    dxf)
      seed "$corpus" "$top"/support/*.dxf "$top"/support/DwgLib/*/SysLib/*.dxf "$top"/fuzz/seeds/dxf/*
      dict=(-dict="$top/fuzz/dxf.dict") ;;
    script | scriptlines)
      seed "$corpus" "$top"/examples/*.scr $(find "$top/tests" -name '*.scr')
      dict=(-dict="$top/fuzz/script.dict") ;;
    libgroup)
      seed "$corpus" "$top"/support/DwgLib/*/LibGroup.dmls
      dict=(-dict="$top/fuzz/libgroup.dict") ;;
    settings)
      seed "$corpus" "$top"/fuzz/seeds/settings/* "$top"/resources/lang/*.json ;;
  esac
  # Inputs kept from earlier faults are seeds too: a fix must hold for their neighbours.
  [ -d "$top/fuzz/regressions/$t" ] && seed "$corpus" "$top/fuzz/regressions/$t"/*
  echo "fuzz: $t for $seconds s"
  (cd "$artifacts" &&
     "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
       -artifact_prefix="$artifacts/" "${dict[@]}" "$corpus" >"$build/fuzz-$t.log" 2>&1)
}

# A target's fault shows in its log; the exit status of each run is not needed.
running=0
for t in "${targets[@]}"; do
  run_one "$t" &
  running=$((running + 1))
  if [ "$running" -ge "$jobs" ]; then
    wait -n || true
    running=$((running - 1))
  fi
done
wait || true
failed=()
for t in "${targets[@]}"; do
  log=$build/fuzz-$t.log
  if grep -qE "^==[0-9]+==ERROR|^SUMMARY: |fuzz check failed|ALARM: working on the last Unit|out-of-memory|deadly signal" "$log"; then
    failed+=("$t")
    echo "fuzz: $t found a fault; see $log and $build/artifacts/$t/"
  else
    echo "fuzz: $t clean ($(grep -E '^stat::number_of_executed_units' "$log" | awk '{print $2}') runs, $(grep -E '^stat::new_units_added' "$log" | awk '{print $2}') new inputs)"
  fi
done
[ ${#failed[@]} -eq 0 ]
