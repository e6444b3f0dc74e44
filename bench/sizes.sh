#!/usr/bin/env bash
# The size of the program as shipped (i686) and as the x86-64 build, beside
# the goal of 320 KB each.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${PELLORY_BUILD:-build}
goal=327680
grouped() { echo "$1" | sed -E ':a; s/([0-9])([0-9]{3})($|,)/\1,\2\3/; ta'; }
for arch in i686 x86_64; do
  bash scripts/win-build.sh "$arch" PelloryV2_0 >/dev/null
  case $arch in i686) exe=$build/win/PelloryV2_0.exe ;; x86_64) exe=$build/win64/PelloryV2_0.exe ;; esac
  size=$(stat -c %s "$exe")
  printf '%-6s %-28s %9s bytes (goal: under %s, %s%%)\n' "$arch" "$exe" "$(grouped "$size")" \
    "$(grouped "$goal")" "$((size * 100 / goal))"
done
