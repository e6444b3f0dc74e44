#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang (in <build>/fuzz, with
# AddressSanitizer and UBSan) and runs each for PELLORY_FUZZ_SECONDS (default
# 20) through that folder's CTest, then prints one summary line per target.
# Fails when a fuzzer found a fault; its input is kept in <build>/fuzz/findings.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${PELLORY_BUILD:-build}/fuzz
cmake -S . -B "$dir" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DPELLORY_FUZZ=ON -DPELLORY_FUZZ_SECONDS="${PELLORY_FUZZ_SECONDS:-20}" -DPELLORY_WERROR="$(bash scripts/werror.sh)" \
  >/dev/null
cmake --build "$dir" -j "$(nproc)"
rm -f "$dir"/logs/*.summary
status=0
ctest --test-dir "$dir" --output-on-failure || status=$?
cat "$dir"/logs/*.summary 2>/dev/null || true
exit $status
