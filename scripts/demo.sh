#!/usr/bin/env bash
# Sets up, builds and runs the demonstration in a private Wine session:
# imitation browser download dialogs on the desktop, and the download status
# scan before and after one of the downloads finishes.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh >/dev/null
build=${PELLORY_BUILD:-build}
echo "built: $build/win/PelloryV2_0.exe"

export PELLORY_WINE_DIR=$PWD/$build/demo-wine
session=$PWD/scripts/wine-session.sh
echo "starting a private Wine session (the first start takes a while)"
bash "$session" start >/dev/null
trap 'bash "$session" stop >/dev/null' EXIT
source scripts/wine-env.sh
dir=$WINEPREFIX/drive_c/demo
rm -rf "$dir" && mkdir -p "$dir"
cp "$build"/win/*.exe "$dir"/
cd "$dir"

cat >dialogs.txt <<'S'
window dl ファイルのダウンロード
child dl.l dl STATIC 保存しています: setup.exe
child dl.c dl BUTTON キャンセル
window pr 45% 完了しました - data.zip
window err Microsoft Internet Explorer
child err.l err STATIC 処理がタイムアウトになりました
at 6 close dl
at 6 title pr ダウンロードの完了
S
(exec wine imitation_dialogs.exe dialogs.txt dialogs.events >/dev/null 2>&1) &
for _ in $(seq 300); do grep -q '^ready$' dialogs.events 2>/dev/null && break; sleep 0.1; done
echo
echo "staged: 'ファイルのダウンロード' with a '保存しています' label, '45% 完了しました - data.zip',"
echo "        and a 'Microsoft Internet Explorer' box saying '処理がタイムアウトになりました'"
echo "scan:   $(wine scan_console.exe | tr -d '\r')"
for _ in $(seq 300); do grep -q 'close dl' dialogs.events 2>/dev/null && break; sleep 0.1; done
echo
echo "the download dialog closed and the progress caption became 'ダウンロードの完了'"
echo "scan:   $(wine scan_console.exe | tr -d '\r')"
echo
echo "(active: downloads in progress; failed: error boxes; copying: -1 while a copy runs)"
touch dialogs.events.stop
