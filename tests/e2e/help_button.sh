# The main window's "?" button on the real exe: with the help file beside
# the program the HTML Help viewer opens it; when the viewer cannot start, or
# the help file is missing, no box of ours appears and the window stays as it
# was and goes on answering.
main='未監視 - Pellory'
about='バージョン情報'
title="Pellory ヘルプ"
drv() { wine_run driver.exe "$@"; }
fail() { echo "FAIL: $*"; exit 1; }
# Viewer windows: the one showing our help file, or any at all.
viewer() { xwininfo -root -tree | grep -F "\"$title\": (\"hh.exe\"" || true; }
any_viewer() { xwininfo -root -tree | grep -F '("hh.exe"' || true; }
# A new session, once the old server has really gone: a program started while
# it is still ending is taken down with it.
new_session() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}

# A click on "?" that can show no help: no viewer window (as `$1` finds
# them), no box of ours; the program still answers (its About button opens
# the About window: asked by posted clicks, which a hung program cannot make
# the driver wait for), and the window is unchanged, idle and taking input.
click_shows_nothing() {
  wine_start PelloryV2_0.exe
  drv wait "$main" --timeout 20000 >/dev/null || fail "no main window"
  local before
  before=$(drv controls "$main")
  drv click "$main" '?' >/dev/null
  sleep 5
  [ -z "$($1)" ] || fail "a viewer window opened: $($1)"
  if drv msgbox --title PelloryV2_0 --timeout 1000 >/dev/null; then fail "an error box of ours appeared"; fi
  drv click "$main" ... >/dev/null || fail "the About button no longer takes a click"
  drv wait "$about" --timeout 15000 >/dev/null || fail "the program no longer answers: no About window"
  drv click "$about" OK >/dev/null
  drv wait "$about" --gone --timeout 15000 >/dev/null || fail "the About window did not close"
  [ "$(drv controls "$main")" = "$before" ] || fail "the main window changed"
  drv rect "$main" | grep -qx 'enabled=1' || fail "the main window no longer takes input"
  drv close "$main" >/dev/null
  drv wait "$main" --gone --timeout 10000 >/dev/null || fail "the program did not answer a close"
}

# The viewer's files in the prefix's system folders. The trap puts back what
# this test moves away whatever happens, and a run killed before its trap
# could is mended at the start of the next.
candidates=("$WINEPREFIX/drive_c/windows/hh.exe" "$WINEPREFIX/drive_c/windows/system32/hh.exe")
put_back() {
  local viewer
  for viewer in "${candidates[@]}"; do
    if [ -f "$viewer.away" ] && [ ! -e "$viewer" ]; then mv "$viewer.away" "$viewer"; fi
  done
  return 0
}
viewer_files() { stat -c '%n %a %s %Y' "${viewers[@]}"; md5sum "${viewers[@]}"; }
put_back
trap put_back EXIT

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
new_session

# The viewer cannot start: hh.exe is moved out of the system folders for the
# while.
viewers=()
for viewer in "${candidates[@]}"; do [ -f "$viewer" ] && viewers+=("$viewer"); done
[ "${#viewers[@]}" -gt 0 ] || fail "no hh.exe in the prefix's system folders"
prefix_before=$(viewer_files)
for viewer in "${viewers[@]}"; do mv "$viewer" "$viewer.away"; done
click_shows_nothing any_viewer
put_back
[ "$(viewer_files)" = "$prefix_before" ] || fail "hh.exe not put back as it was"
echo "viewer missing: no viewer, no box of ours, the window unchanged and answering; hh.exe back in place"
new_session

rm PelloryV2_0.chm
click_shows_nothing viewer
echo "help file absent: no box of ours, the window unchanged and answering"
