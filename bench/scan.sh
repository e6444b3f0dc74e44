#!/usr/bin/env bash
# The scan benchmark, natively (scripted desktop) and under Wine (real windows
# of another process) with the i686 and the x86-64 build, each against a bare
# loop of the same desktop calls in the same run, on desktops of 100, 1,000
# and 10,000 top-level windows (Wine: 5,000 at most). Each figure is the
# median of per-round ratios with its quartiles and range; SCAN_SECONDS
# (default 30) is how long each Wine figure is measured at least.
# Builds what it needs without sanitizers; the Wine part runs in a private
# session of its own.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${PELLORY_BUILD:-build}
seconds=${SCAN_SECONDS:-30}
jobs=$(nproc)

cmake -S . -B "$build/bench" -DCMAKE_BUILD_TYPE=Release -DPELLORY_SANITIZE=OFF >/dev/null
cmake --build "$build/bench" -j "$jobs" --target scan_bench >/dev/null
bash scripts/win-build.sh i686 scan_timing >/dev/null
bash scripts/win-build.sh x86_64 scan_timing imitation_dialogs >/dev/null

"$build/bench/scan_bench"

export PELLORY_WINE_DIR=$PWD/$build/bench-wine
session=$PWD/scripts/wine-session.sh
bash "$session" start >/dev/null
trap 'bash "$session" stop >/dev/null' EXIT
source scripts/wine-env.sh
source scripts/wine-arch.sh
dir=$WINEPREFIX/drive_c/bench
rm -rf "$dir" && mkdir -p "$dir/i686" "$dir/x86_64"
cp "$build/win64/imitation_dialogs.exe" "$dir"/
cp "$build/win/scan_timing.exe" "$dir/i686"/
cp "$build/win64/scan_timing.exe" "$dir/x86_64"/
cd "$dir"
arches="i686 x86_64"
wine_runs_32bit || arches=x86_64

# Wine 8's server holds about 32,000 window handles and crashed when the
# 10,000-window desktop (30,000 windows) went up, so Wine stops at 5,000.
# The builds time the same desktop, one after the other.
echo "Wine, real windows of another process, CP932, wall time"
[ "$arches" != x86_64 ] || echo "i686: not measured, this machine's Wine cannot run 32-bit programs"
for tops in 100 1000 5000; do
  rm -f desktop.events desktop.events.stop
  wine x86_64/scan_timing.exe script "$tops" desktop.txt
  (exec wine imitation_dialogs.exe desktop.txt desktop.events >/dev/null 2>&1) &
  imitation=$!
  for _ in $(seq 3000); do grep -q '^ready$' desktop.events 2>/dev/null && break; sleep 0.1; done
  for arch in $arches; do
    printf '%-6s ' "$arch"
    wine "$arch/scan_timing.exe" time "$tops" "$seconds" | tr -d '\r'
  done
  touch desktop.events.stop
  wait "$imitation" || true
done
