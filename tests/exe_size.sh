#!/usr/bin/env bash
# Each exe stays under 320 KB: a stray library piece (a second string type,
# say) costs tens of kilobytes at once.
set -euo pipefail
for exe in "$@"; do
  size=$(stat -c %s "$exe")
  echo "$exe: $size bytes"
  [ "$size" -lt 327680 ] || { echo "FAIL: over 320 KB (327,680 bytes)"; exit 1; }
done
