#!/usr/bin/env bash
# The long run of tests/e2e/kill_log.sh: KILL_ROUNDS (default 30) kills at
# seeded moments (KILL_SEED), in a private Wine session of its own.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${PELLORY_BUILD:-build}
bash scripts/win-build.sh i686 >/dev/null
export PELLORY_WINE_DIR=$PWD/$build/bench-wine32 PELLORY_WINE_BITS=32 PELLORY_WIN_DIR=$PWD/$build/win PELLORY_RESULTS=$PWD/$build/bench-results
export KILL_ROUNDS=${KILL_ROUNDS:-30} KILL_SEED=${KILL_SEED:-$RANDOM}
echo "kill_log: $KILL_ROUNDS rounds, seed $KILL_SEED"
bash scripts/wine-session.sh start >/dev/null
trap 'bash scripts/wine-session.sh stop >/dev/null' EXIT
bash scripts/e2e-test.sh "$PWD/tests/e2e/kill_log.sh" | grep -E '^(round|  next|start rounds|PASS|FAIL)'
