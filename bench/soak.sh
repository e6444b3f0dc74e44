#!/usr/bin/env bash
# The soak of tests/e2e/soak.sh at length: Pellory watching for SOAK_SECONDS
# (default 600) beside up to 5,000 churning decoy windows, in a private Wine
# session of its own. Prints the figures: duration, Pellory's timer ticks,
# console scans made alongside, windows alive at the peak and made in all,
# private memory once the desktop was full (no sooner than a minute in) and
# at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${PELLORY_BUILD:-build}
bash scripts/win-build.sh i686 >/dev/null
export PELLORY_WIN_DIR=$PWD/$build/win PELLORY_WINE_DIR=$PWD/$build/bench-wine32 PELLORY_WINE_BITS=32 PELLORY_RESULTS=$PWD/$build/bench-results
export SOAK_SECONDS=${SOAK_SECONDS:-600} SOAK_MAX_ALIVE=${SOAK_MAX_ALIVE:-5000}
session=$PWD/scripts/wine-session.sh
bash "$session" start >/dev/null
trap 'bash "$session" stop >/dev/null' EXIT
bash scripts/e2e-test.sh "$PWD/tests/e2e/soak.sh"
