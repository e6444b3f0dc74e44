#!/usr/bin/env bash
# Sets up, builds and runs the demonstration in a private Wine session (its
# own prefix; its own Xvfb display unless DISPLAY is set, when the windows
# appear on that display): imitation browser downloads are in progress,
# Pellory starts, starts its watch by itself, and when the downloads finish
# about 15 s later it logs the end and shuts down. The shutdown ends only
# that Wine session; the host's power state is never touched.
set -euo pipefail
cd "$(dirname "$0")/.."
# The 32-bit program we ship, under the WoW64 Wine of the private root; on a
# kernel that cannot run 32-bit code (PELLORY_WINE_BITS=64, set below), the
# 64-bit one under the host's Wine.
bits=${PELLORY_WINE_BITS:-32}
if [ -z "${PELLORY_DEMO_SET_UP:-}" ]; then
  # Known before anything 32-bit is set up: a kernel that runs no 32-bit program.
  if [ "$bits" = 32 ] && ! why=$(bash scripts/ia32-check.sh); then
    echo "$why, so the demonstration runs the 64-bit program under the host's Wine"
    bits=64
  fi
  mode=demo
  [ "$bits" = 32 ] || mode=demo64
  bash scripts/setup.sh "$mode"
  # A new shell, which sees the Japanese locale that the set-up may just have made.
  PELLORY_DEMO_SET_UP=1 PELLORY_WINE_BITS=$bits exec bash "$0" "$@"
fi
build=${PELLORY_BUILD:-build}
arch=i686 win=$build/win
[ "$bits" = 32 ] || arch=x86_64 win=$build/win64
bash scripts/win-build.sh "$arch" PelloryV2_0 imitation_dialogs driver >/dev/null
echo "built: $win/PelloryV2_0.exe ($(stat -c %s "$win/PelloryV2_0.exe") bytes, $arch)"

export PELLORY_WINE_DIR=$PWD/$build/demo-wine$bits PELLORY_WINE_BITS=$bits
export PELLORY_DISPLAY=${DISPLAY:-}
shots=$PWD/$build/demo
mkdir -p "$shots"
rm -f "$shots"/*.png
root=$PWD
session=$root/scripts/wine-session.sh
echo "starting a private Wine session (the first start takes a while)"
bash "$session" start >/dev/null
trap 'bash "$session" stop >/dev/null' EXIT
why=$(bash scripts/wine-check.sh) && status=0 || status=$?
if [ "$status" != 0 ]; then
  echo "$why"
  [ "$status" = 3 ] || exit 1
  echo "so the demonstration runs the 64-bit program under the host's Wine"
  bash "$session" stop >/dev/null
  trap - EXIT
  bash scripts/setup.sh demo64
  PELLORY_WINE_BITS=64 exec bash "$0" "$@"
fi
source scripts/wine-env.sh
echo "display $DISPLAY, prefix $WINEPREFIX, $(wine --version)"

# Pellory, the imitation dialogs and the driver share one virtual desktop:
# the scan sees the dialogs, and the pictures show window frames.
size=640x480
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v demo /d "$size" /f >/dev/null 2>&1
for exe in PelloryV2_0.exe imitation_dialogs.exe driver.exe; do
  wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$exe\\Explorer" /v Desktop /d demo /f >/dev/null 2>&1
done

dir=$WINEPREFIX/drive_c/demo
rm -rf "$dir" && mkdir -p "$dir"
cp "$win"/*.exe "$dir"/
cd "$dir"
drv() { wine driver.exe "$@"; }
# The virtual desktop's window (Wine 10 names it in Japanese) as a PNG.
desktop_png() {
  local id
  id=$(xwininfo -root -tree | awk '/"demo - Wine / { print $1; exit }')
  import -window "${id:-root}" "$1"
}
# A picture kept: caption buttons as Windows draws them (Wine 8 draws letters there).
keep() {
  [ "$bits" = 32 ] || python3 "$root/scripts/caption_buttons.py" "$shots/$1.png" "$shots/$1.png" >/dev/null
}
shot() { desktop_png "$shots/$1.png" && keep "$1"; }
source "$root/tests/e2e/drawn.bash"

cat >dialogs.txt <<'S'
window dl ファイルのダウンロード
child dl.l dl STATIC 保存しています: setup.exe
child dl.c dl BUTTON キャンセル
window pr 45% 完了しました - data.zip
at 15 close dl
at 15 title pr data.zip - ダウンロード終了
S
(exec wine imitation_dialogs.exe dialogs.txt dialogs.events >/dev/null 2>&1) &
for _ in $(seq 300); do grep -q '^ready$' dialogs.events 2>/dev/null && break; sleep 0.1; done
echo
echo "downloads in progress: 'ファイルのダウンロード' saving setup.exe, and '45% 完了しました - data.zip'"
echo "both finish 15 s from now"

(exec wine PelloryV2_0.exe >/dev/null 2>&1) &
drv wait '●監視中 - Pellory' --timeout 30000 >/dev/null
echo "Pellory started and began watching by itself: ●監視中 - Pellory"
drv wait '○監視中 - Pellory' --timeout 5000 >/dev/null
shot watching
drv wait 'シャットダウンします...' --timeout 40000 >/dev/null
echo "the downloads finished: シャットダウンします... (5 s)"
# The caption changes before the window's paint reaches the screen: the
# picture is the first one that shows the window drawn.
drawn=0
if drawn_during_wait 'シャットダウンします...' DownloadLog.txt "$shots/shutdown.png" desktop_png; then
  drawn=1
  keep shutdown
  echo "pictured once drawn: $DRAWN_SAID"
else
  echo "$DRAWN_WHY" >&2
fi
timeout 30 wineserver -w
echo "the Wine session has shut down"
echo
echo "log ($dir/DownloadLog.txt):"
iconv -f CP932 -t UTF-8 DownloadLog.txt | tr -d '\r' | sed 's/^/  /'
echo
echo "screenshots:"
echo "  $shots/watching.png"
echo "  $shots/shutdown.png"
[ "$drawn" = 1 ]
