#!/usr/bin/env bash
# Says why the Wine of this session (scripts/wine-env.sh) cannot run, and
# fails; prints nothing where it can.
set -uo pipefail
source "$(dirname "$0")/wine-env.sh"
if [ "$PELLORY_WINE_BITS" = 32 ]; then
  source "$(dirname "$0")/wow64-env.sh"
  [ -f "$PELLORY_WOW64_ROOT/.pellory-root-complete" ] ||
    { echo "no WoW64 Wine root in $PELLORY_WOW64_ROOT: scripts/setup.sh makes it"; exit 1; }
fi
out=$(wine --version 2>&1) || { echo "wine cannot start: $out"; exit 1; }
