#!/usr/bin/env bash
# start: a private Xvfb display (or the display PELLORY_DISPLAY names) and a
# booted private Wine prefix, with the Japanese font replacements; stop: end
# that Wine session and that Xvfb. PELLORY_WINE_BITS chooses the Wine
# (scripts/wine-env.sh).
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
mkdir -p "$PELLORY_WINE_DIR"

start() {
  # A missing or broken Wine stops here; the tests say themselves whether
  # this machine's kernel runs what it needs.
  bash "$(dirname "$0")/wine-check.sh" >&2 || [ $? = 3 ] || exit 1
  stop_display
  if [ -n "${PELLORY_DISPLAY:-}" ]; then
    export DISPLAY=$PELLORY_DISPLAY  # the user's display, asked for by the caller
  else
    local n=90
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    echo $! >"$PELLORY_WINE_DIR/xvfb.pid"
    echo ":$n" >"$PELLORY_WINE_DIR/display"
    export DISPLAY=":$n"
    for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ ゴシック' /d 'IPAGothic' /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' /d 'IPAPGothic' /f >/dev/null 2>&1
    # The Japanese link of the dialog font Tahoma: Wine 10 draws boxes without it.
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'MS UI Gothic' /d 'IPAGothic' /f >/dev/null 2>&1
    wineserver -w
  fi
  echo "wine session on $DISPLAY, prefix $WINEPREFIX"
}

stop_display() {
  if [ -f "$PELLORY_WINE_DIR/xvfb.pid" ]; then
    kill "$(cat "$PELLORY_WINE_DIR/xvfb.pid")" 2>/dev/null || true
    rm -f "$PELLORY_WINE_DIR/xvfb.pid" "$PELLORY_WINE_DIR/display"
  fi
}

stop() {
  wineserver -k 2>/dev/null || true
  stop_display
  echo "wine session stopped"
}

# A kernel that runs no 32-bit code gets no session for the 32-bit program:
# its tests skip (scripts/e2e-test.sh), and so do the session's start and stop.
if [ "$PELLORY_WINE_BITS" = 32 ] && ! why=$(bash "$(dirname "$0")/ia32-check.sh"); then
  echo "$why: no session for the 32-bit program"
  exit 77
fi
"${1:?start or stop}"
