#!/usr/bin/env bash
# Runs one end-to-end test script in the private Wine session, in a fresh
# program folder of its own under drive C, with the Windows build (programs
# and the tools' libraries) copied in.
# PELLORY_WINE_BITS (32 or 64, scripts/wine-env.sh) says which build
# PELLORY_WIN_DIR holds, and so which Wine runs it, and keeps the runs of one
# script against the two builds apart.
# The test script sees: E2E_DIR (its folder, Unix path), E2E_WIN (the same as
# a Windows path), E2E_RESULTS (where to leave screenshots), wine_run and
# wine_start, and the helpers of tests/e2e/common.bash (fail, drv,
# desktop_shot).
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
script=${1:?test script}
name=$(basename "$script" .sh)
[ "$PELLORY_WINE_BITS" = 32 ] || name=$name$PELLORY_WINE_BITS
# A Wine that cannot start fails the test in CI, where nothing may be
# skipped; elsewhere it is skipped with the reason. A kernel that cannot run
# 32-bit code under WoW64 Wine skips the 32-bit runs everywhere, saying so.
why=$(bash "$(dirname "$0")/wine-check.sh") && status=0 || status=$?
if [ "$status" != 0 ]; then
  echo "$why"
  [ "$status" = 1 ] && [ "${CI:-}" = true ] && exit 1
  echo "skipped"
  exit 77
fi
export E2E_DIR="$WINEPREFIX/drive_c/e2e/$name"
export E2E_RESULTS="${PELLORY_RESULTS:-$PELLORY_ROOT/build/e2e-results}/$name"
rm -rf "$E2E_DIR" "$E2E_RESULTS"
mkdir -p "$E2E_DIR" "$E2E_RESULTS"
# shellcheck disable=SC2153  # set by CTest beside PELLORY_WINE_DIR (see above)
cp "$PELLORY_WIN_DIR"/*.exe "$PELLORY_WIN_DIR"/*.dll "$E2E_DIR"/
[ -f "$PELLORY_WIN_DIR/PelloryV2_0.chm" ] && cp "$PELLORY_WIN_DIR/PelloryV2_0.chm" "$E2E_DIR"/
E2E_WIN=$(win_path "$E2E_DIR")
export E2E_WIN

# Runs a program of the test folder (by its file name) in the foreground.
wine_run() {
  local exe=$1
  shift
  (cd "$E2E_DIR" && wine "$E2E_DIR/$exe" "$@")
}
# Starts a program of the test folder in the background; prints nothing.
wine_start() {
  local exe=$1
  shift
  (cd "$E2E_DIR" && exec wine "$E2E_DIR/$exe" "$@" >/dev/null 2>&1) &
}
source "$PELLORY_ROOT/tests/e2e/common.bash"
export -f wine_run wine_start win_path program_pid fail drv desktop_shot

# The session ends with the test, and the next test starts only when its
# server is gone: a program started meanwhile would connect to the old server
# and go down with it.
trap 'wineserver -k 2>/dev/null || true; wineserver -w 2>/dev/null || true' EXIT
cd "$E2E_DIR"
bash -euo pipefail "$script"
