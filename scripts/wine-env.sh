# Sourced: the environment of the private Wine session used by the demo, the
# benchmarks and the end-to-end tests. PELLORY_WINE_DIR holds the prefix and
# the display. PELLORY_WINE_BITS says which program the session runs:
#  32  the i686 program we ship, under the WoW64 Wine 10 of a private root
#      (scripts/wow64-root.sh), which needs no 32-bit Linux libraries, only
#      a kernel that runs 32-bit code (scripts/ia32-check.sh);
#  64  the x86-64 program, under the host's own Wine 8.
# Each session has a prefix of its own: the two Wine servers cannot share one.
PELLORY_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
: "${PELLORY_WINE_BITS:=32}"
: "${PELLORY_WINE_DIR:=$PELLORY_ROOT/build/wine$PELLORY_WINE_BITS}"
export PELLORY_ROOT PELLORY_WINE_DIR PELLORY_WINE_BITS
case $PELLORY_WINE_BITS in
  32) case :$PATH: in
        *":$PELLORY_ROOT/scripts/wow64-bin:"*) ;;
        *) export PATH="$PELLORY_ROOT/scripts/wow64-bin:$PATH" ;;
      esac ;;
  64) ;;
  *) echo "PELLORY_WINE_BITS is 32 or 64, not $PELLORY_WINE_BITS" >&2; return 2 ;;
esac
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

# The process that runs the Windows program NAME, started as process PID: PID
# itself under the host's Wine, its child in the sandbox under the WoW64 root.
# Waits up to 10 s for that process to run the program.
program_pid() {
  local pid=$1 name=$2 p
  for _ in $(seq 100); do
    # The child first: bwrap's own arguments name the program too.
    for p in $(pgrep -P "$pid") "$pid"; do
      grep -aqF "$name" "/proc/$p/cmdline" 2>/dev/null && { echo "$p"; return 0; }
    done
    sleep 0.1
  done
  return 1
}
