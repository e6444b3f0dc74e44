#!/usr/bin/env bash
# Builds PelloryV2_0.exe and the Win32 test tools for i686 (build/win, the
# program we ship) and x86_64 (build/win64), then the native unit tests and
# benchmarks (build/native), whose CTest also runs the end-to-end tests
# against both Windows builds. Warnings are errors in CI and under
# scripts/test.sh (scripts/werror.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${PELLORY_BUILD:-build}
bash scripts/win-build.sh i686
bash scripts/win-build.sh x86_64
cmake -S . -B "$build/native" -DCMAKE_BUILD_TYPE=Debug -DPELLORY_WIN_DIR="$PWD/$build/win" \
  -DPELLORY_WIN64_DIR="$PWD/$build/win64" -DPELLORY_WERROR="$(bash scripts/werror.sh)" >/dev/null
cmake --build "$build/native" -j "$(nproc)"
for dir in win win64; do
  echo "$build/$dir/PelloryV2_0.exe: $(stat -c %s "$build/$dir/PelloryV2_0.exe") bytes"
done
