#!/usr/bin/env bash
# For end-to-end tests: starts a program of the test folder in a Wine virtual
# desktop of its own (so that windows get their frames), waits until a window
# covers the desktop's centre, and saves the desktop as a PNG.
#   screenshot.sh DESKTOP OUTPUT.png EXE [ARGS...]
# The program keeps running; the test session's end stops it.
set -euo pipefail
desktop=$1 output=$2
shift 2
# A size from Wine's list of display modes: Wine 10 gives a virtual desktop
# of any other size the whole screen.
width=640 height=480
(cd "$E2E_DIR" && exec wine explorer "/desktop=$desktop,${width}x$height" "$@" >/dev/null 2>&1) &
centre="%[pixel:p{$((width / 2)),$((height / 2))}]"
empty=""
for _ in $(seq 60); do
  sleep 0.5
  import -window root -crop "${width}x$height+0+0" +repage "$output" 2>/dev/null || continue
  pixel=$(convert "$output" -format "$centre" info:)
  # The first picture that shows a desktop fixes its colour; a window changes it.
  if [ -z "$empty" ]; then empty=$(convert "$output" -format '%[pixel:p{2,2}]' info:); fi
  if [ "$pixel" != "$empty" ]; then
    sleep 0.5  # let it finish painting
    import -window root -crop "${width}x$height+0+0" +repage "$output"
    exit 0
  fi
done
echo "no window appeared in desktop $desktop" >&2
exit 1
