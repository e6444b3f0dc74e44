#!/usr/bin/env bash
# Sets up, builds and runs the demonstration in a private Wine session.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh >/dev/null
echo "built: build/win/PelloryV2_0.exe"
