#!/usr/bin/env bash
# Builds the release package build/release/PelloryV2_0.zip: the 32-bit
# program with its help, the 64-bit program as x64/PelloryV2_0.exe, and
# readme.txt in Shift-JIS with CR LF. Only the program and the help are built.
# The same commit gives the same bytes (see scripts/make_zip.py).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${PELLORY_BUILD:-build}
bash scripts/win-build.sh i686 PelloryV2_0 pellory_help
bash scripts/win-build.sh x86_64 PelloryV2_0
mkdir -p "$build/release"
python3 scripts/make_zip.py "$build/release/PelloryV2_0.zip" res/readme.txt "$build/win" "$build/win64"
echo "$build/release/PelloryV2_0.zip"
