#!/usr/bin/env bash
# Regenerates the help's screenshots docs/main-idle.png, docs/main-watching.png
# and docs/about.png: runs the end-to-end tests that take them (building first
# when there is no build), redraws the caption buttons as Windows shows them
# (scripts/caption_buttons.py) and rebuilds the help. The pictures come from
# the x86_64 build, which every 64-bit Wine runs; both builds show the same
# windows.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${PELLORY_BUILD:-build}
[ -d "$build/native" ] || bash scripts/build.sh
ctest --test-dir "$build/native" --output-on-failure \
  -R '^e2e(_session_start|64_main_window|64_main_window_watching|64_about_window|_session_stop)$'
for shot in main_window/main-idle main_window_watching/main-watching about_window/about; do
  python3 scripts/caption_buttons.py "$build/native/e2e-results/${shot%/*}64/${shot#*/}.png" "docs/${shot#*/}.png"
done
bash scripts/win-build.sh i686 pellory_help >/dev/null
