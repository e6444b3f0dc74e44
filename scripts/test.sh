#!/usr/bin/env bash
# Sets up, builds, and runs every test: native unit tests (with AddressSanitizer
# and UBSan) and the end-to-end tests of the real exe under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
ctest --test-dir "${PELLORY_BUILD:-build}/native" --output-on-failure "$@"
