#!/usr/bin/env bash
# Configures and builds one Windows build: `i686` in build/win (the program we
# ship, for 32- and 64-bit Windows), `x86_64` in build/win64. Further
# arguments name targets; without them, everything.
set -euo pipefail
cd "$(dirname "$0")/.."
arch=${1:?i686 or x86_64}
shift
build=${PELLORY_BUILD:-build}  # another folder lets several builds live side by side
case $arch in
  i686) dir=$build/win ;;
  x86_64) dir=$build/win64 ;;
  *) echo "unknown architecture $arch" >&2; exit 2 ;;
esac
cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-w64-$arch.cmake" -DCMAKE_BUILD_TYPE=MinSizeRel \
  -DPELLORY_WERROR="$(bash scripts/werror.sh)" >/dev/null
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$dir" -j "$(nproc)" "${targets[@]}"
