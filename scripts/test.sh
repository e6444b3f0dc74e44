#!/usr/bin/env bash
# Sets up, builds, and runs every check and test: the static checks
# (scripts/lint.sh), the fuzzers for a bounded time, then native unit tests
# (with AddressSanitizer and UBSan) and the end-to-end tests of the real exe
# under Wine. A finding of the checks or the fuzzers fails the run, but the
# other tests still run, so that CTest's summary stays the last word.
set -euo pipefail
cd "$(dirname "$0")/.."
export PELLORY_WERROR=ON  # a warning in our code fails the run
bash scripts/setup.sh
bash scripts/build.sh
lint=0
bash scripts/lint.sh || lint=$?
[ "$lint" -eq 0 ] || echo "the checks found something (see above): the run fails, the tests below run all the same"
fuzz=0
bash scripts/fuzz.sh || fuzz=$?
[ "$fuzz" -eq 0 ] || echo "fuzzing found a fault (see above): the run fails, the tests below run all the same"
# CTest shows no reason for a skip: say once why the 32-bit runs skip.
why=$(bash scripts/ia32-check.sh) ||
  echo "$why, so the 32-bit program's e2e_ runs are skipped; the 64-bit program's e2e64_ runs run"
# Every test runs once: a test that fails, fails the run. Two at a time: the
# 32-bit and the 64-bit program's e2e runs each hold their own Wine session's
# lock, so one of each runs side by side, and the unit tests fill the gaps.
ctest --test-dir "${PELLORY_BUILD:-build}/native" --output-on-failure --parallel 2 "$@"
[ "$fuzz" -eq 0 ] || exit "$fuzz"
exit "$lint"
