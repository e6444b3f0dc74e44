# The main window's "?" button on the real exe: with the help file beside
# the program the HTML Help viewer opens it; without it no box of ours
# appears and the window stays as it was.
main='未監視 - Pellory'
title="Pellory ヘルプ"
drv() { wine_run driver.exe "$@"; }
fail() { echo "FAIL: $*"; exit 1; }
viewer() { xwininfo -root -tree | grep -F "\"$title\": (\"hh.exe\"" || true; }

[ -f PelloryV2_0.chm ] || fail "no help file in the test folder"
wine_start PelloryV2_0.exe
drv wait "$main" --timeout 20000 >/dev/null || fail "no main window"
drv click "$main" '?' >/dev/null
found=""
for _ in $(seq 60); do
  found=$(viewer)
  [ -n "$found" ] && break
  sleep 0.5
done
[ -n "$found" ] || fail "no viewer window titled $title"
echo "help file present: the viewer opened it"
drv close "$main" >/dev/null
drv wait "$main" --gone --timeout 10000 >/dev/null || fail "main window still open"
# A new session, once the old server has really gone: a program started while
# it is still ending is taken down with it.
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true

rm PelloryV2_0.chm
wine_start PelloryV2_0.exe
drv wait "$main" --timeout 20000 >/dev/null || fail "no main window"
before=$(drv controls "$main")
drv click "$main" '?' >/dev/null
sleep 5
[ -z "$(viewer)" ] || fail "a viewer window shows the missing file's title"
if drv msgbox --title PelloryV2_0 --timeout 1000 >/dev/null; then fail "an error box of ours appeared"; fi
[ "$(drv controls "$main")" = "$before" ] || fail "the main window changed"
drv rect "$main" | grep -qx 'enabled=1' || fail "the main window no longer takes input"
echo "help file absent: no box of ours, the window unchanged"
drv close "$main" >/dev/null
