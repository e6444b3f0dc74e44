# Sourced: the environment of the private Wine session used by the demo and
# the end-to-end tests. PELLORY_WINE_DIR holds the prefix and the display.
PELLORY_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
: "${PELLORY_WINE_DIR:=$PELLORY_ROOT/build/wine}"
export PELLORY_ROOT PELLORY_WINE_DIR
export WINEPREFIX="$PELLORY_WINE_DIR/prefix"
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
if [ -f "$PELLORY_WINE_DIR/display" ]; then
  DISPLAY=$(cat "$PELLORY_WINE_DIR/display")
  export DISPLAY
fi

# A Unix path inside the prefix's drive C as a Windows path.
win_path() {
  local rel=${1#"$WINEPREFIX/drive_c/"}
  printf 'C:\\%s' "${rel//\//\\}"
}
