#!/usr/bin/env bash
# Builds PelloryV2_0.exe and the Win32 test tools (build/win), then the native
# unit tests and benchmarks (build/native), whose CTest also runs the
# end-to-end tests against build/win.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
build=${PELLORY_BUILD:-build}  # another folder lets several builds live side by side
cmake -S . -B "$build/win" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
cmake --build "$build/win" -j "$jobs"
cmake -S . -B "$build/native" -DCMAKE_BUILD_TYPE=Debug -DPELLORY_WIN_DIR="$PWD/$build/win" >/dev/null
cmake --build "$build/native" -j "$jobs"
size=$(stat -c %s "$build/win/PelloryV2_0.exe")
echo "PelloryV2_0.exe: $size bytes"
