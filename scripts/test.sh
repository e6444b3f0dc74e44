#!/usr/bin/env bash
# Sets up, builds, and runs every test: the fuzzers for a bounded time, then
# native unit tests (with AddressSanitizer and UBSan) and the end-to-end tests
# of the real exe under Wine. A fuzzer's finding fails the run, but the other
# tests still run, so that CTest's summary stays the last word.
set -euo pipefail
cd "$(dirname "$0")/.."
export PELLORY_WERROR=ON  # a warning in our code fails the run
bash scripts/setup.sh
bash scripts/build.sh
fuzz=0
bash scripts/fuzz.sh || fuzz=$?
[ "$fuzz" -eq 0 ] || echo "fuzzing found a fault (see above): the run fails, the tests below run all the same"
# Every test runs once: a test that fails, fails the run.
ctest --test-dir "${PELLORY_BUILD:-build}/native" --output-on-failure "$@"
exit "$fuzz"
