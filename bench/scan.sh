#!/usr/bin/env bash
# The scan benchmark, natively (scripted desktop) and under Wine (real windows
# of another process) with the i686 build (under the WoW64 Wine 10 of the
# private root) and the x86-64 build (under the host's Wine 8), each against a bare
# loop of the same desktop calls in the same run, on desktops of 100, 1,000
# and 10,000 top-level windows (Wine: 5,000 at most). Each figure is the
# median of per-round ratios with its quartiles and range; SCAN_SECONDS
# (default 30) is how long each Wine figure is measured at least.
# Builds what it needs without sanitizers; each Wine runs in a private
# session of its own.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${PELLORY_BUILD:-build}
seconds=${SCAN_SECONDS:-30}
jobs=$(nproc)

cmake -S . -B "$build/bench" -DCMAKE_BUILD_TYPE=Release -DPELLORY_SANITIZE=OFF >/dev/null
cmake --build "$build/bench" -j "$jobs" --target scan_bench >/dev/null
bash scripts/win-build.sh i686 scan_timing imitation_dialogs >/dev/null
bash scripts/win-build.sh x86_64 scan_timing imitation_dialogs >/dev/null

"$build/bench/scan_bench"

root=$PWD
# wine_line BITS BUILD: the Wine figures of one build, in a session of its own.
wine_line() (
  export PELLORY_WINE_BITS=$1 PELLORY_WINE_DIR=$root/$build/bench-wine$1
  local arch=i686 session=$root/scripts/wine-session.sh tops imitation
  [ "$1" = 32 ] || arch=x86_64
  bash "$session" start >/dev/null
  trap 'bash "$session" stop >/dev/null' EXIT
  source "$root/scripts/wine-env.sh"
  local dir=$WINEPREFIX/drive_c/bench
  rm -rf "$dir" && mkdir -p "$dir"
  cp "$root/$build/$2/imitation_dialogs.exe" "$root/$build/$2/scan_timing.exe" "$dir"/
  cd "$dir"
  echo "$arch under $(wine --version), real windows of another process, CP932, wall time"
  # Wine 8's server holds about 32,000 window handles and crashed when the
  # 10,000-window desktop (30,000 windows) went up, so Wine stops at 5,000.
  for tops in 100 1000 5000; do
    rm -f desktop.events desktop.events.stop
    wine scan_timing.exe script "$tops" desktop.txt
    (exec wine imitation_dialogs.exe desktop.txt desktop.events >/dev/null 2>&1) &
    imitation=$!
    for _ in $(seq 3000); do grep -q '^ready$' desktop.events 2>/dev/null && break; sleep 0.1; done
    printf '%-6s ' "$arch"
    wine scan_timing.exe time "$tops" "$seconds" | tr -d '\r'
    touch desktop.events.stop
    wait "$imitation" || true
  done
)
wine_line 32 win
wine_line 64 win64
