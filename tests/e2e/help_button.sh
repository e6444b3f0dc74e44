# The main window's "?" button on the real exe: with the help file beside
# the program the HTML Help viewer opens it, whatever folder the program was
# started from; only the system's viewer runs, never an hh.exe left in the
# current folder or in the program's folder; when the viewer cannot start, or
# the help file is missing, no box of ours appears and the window stays as it
# was and goes on answering.
main='未監視 - Pellory'
about='バージョン情報'
title="Pellory ヘルプ"
# Viewer windows: the one showing our help file, or any at all.
viewer() { xwininfo -root -tree | grep -F "\"$title\": (\"hh.exe\"" || true; }
any_viewer() { xwininfo -root -tree | grep -F '("hh.exe"' || true; }
# A new session, once the old server has really gone: a program started while
# it is still ending is taken down with it.
new_session() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}

# The viewer processes of our help file in this Wine prefix, as the host sees them.
viewer_runs() {
  local pid n=0
  for pid in $(pgrep -f 'hh\.exe PelloryV2_0\.chm'); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && n=$((n + 1))
  done
  echo "$n"
}
# Waits (up to 30 s, as long as the viewer may take to start) until none runs.
await_no_viewer() {
  for _ in $(seq 300); do
    [ "$(viewer_runs)" = 0 ] && return 0
    sleep 0.1
  done
  return 1
}
# The viewer's own complaint that it cannot open our help file: written by
# its error channel, which the program's start turns on, into viewer.err,
# where it stays. A viewer without its file ends within some 50 ms, too
# quickly for a look at the processes to be sure to see it run.
COMPLAINT="Failed to open HTML Help file 'PelloryV2_0.chm'"

# A click on "?" that can show no help: no viewer window (as `$1` finds
# them), no box of ours; the program still answers (its About button opens
# the About window: asked by posted clicks, which a hung program cannot make
# the driver wait for, and handled after the help click has ended), and the
# window is unchanged, idle and taking input. With `$2` = ran, the viewer
# must have run on our help file and ended by itself before the window check.
click_shows_nothing() {
  rm -f "$E2E_DIR/viewer.err"
  (cd "$E2E_DIR" && WINEDEBUG=-all,err+htmlhelp exec wine "$E2E_DIR/PelloryV2_0.exe" >/dev/null 2>"$E2E_DIR/viewer.err") &
  drv wait "$main" --timeout 20000 >/dev/null || fail "no main window"
  local before
  before=$(drv controls "$main")
  drv click "$main" '?' >/dev/null
  if [ "${2:-}" = ran ]; then
    for _ in $(seq 300); do grep -qF "$COMPLAINT" "$E2E_DIR/viewer.err" && break; sleep 0.1; done
    grep -qF "$COMPLAINT" "$E2E_DIR/viewer.err" || fail "the viewer never ran on our help file: $(cat "$E2E_DIR/viewer.err")"
    await_no_viewer || fail "the viewer did not end"
  fi
  [ -z "$($1)" ] || fail "a viewer window opened: $($1)"
  if drv msgbox --title PelloryV2_0 --timeout 1000 >/dev/null; then fail "an error box of ours appeared"; fi
  drv click "$main" ... >/dev/null || fail "the About button no longer takes a click"
  drv wait "$about" --timeout 15000 >/dev/null || fail "the program no longer answers: no About window"
  drv click "$about" OK >/dev/null
  drv wait "$about" --gone --timeout 15000 >/dev/null || fail "the About window did not close"
  [ "$(drv controls "$main")" = "$before" ] || fail "the main window changed"
  drv rect "$main" | grep -qx 'enabled=1' || fail "the main window no longer takes input"
  drv close "$main" >/dev/null || fail "no main window to close (driver exit $?): $(drv list)"
  drv wait "$main" --gone --timeout 10000 >/dev/null || fail "the program did not answer a close"
}

source "$PELLORY_ROOT/tests/e2e/viewer.bash"
trap viewer_back EXIT

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
drv close "$main" >/dev/null || fail "no main window to close (driver exit $?): $(drv list)"
drv wait "$main" --gone --timeout 10000 >/dev/null || fail "main window still open"
new_session

# Started from another folder, with a recorder named hh.exe left in folder
# $1: "?" opens the system's viewer on our help, and the recorder never runs.
# The help button starts one program, so the viewer's window, once seen, ends
# the wait for the recorder's file as well.
elsewhere="$E2E_DIR/elsewhere"
mkdir -p "$elsewhere"
help_from_elsewhere() {
  local plant=$1 found=""
  cp recorder.exe "$plant/hh.exe"
  rm -f "$plant/recorder.txt"
  (cd "$elsewhere" && exec wine "$E2E_DIR/PelloryV2_0.exe" >/dev/null 2>&1) &
  drv wait "$main" --timeout 20000 >/dev/null || fail "no main window"
  drv click "$main" '?' >/dev/null
  for _ in $(seq 60); do
    found=$(viewer)
    if [ -n "$found" ] || [ -e "$plant/recorder.txt" ]; then break; fi
    sleep 0.5
  done
  [ ! -e "$plant/recorder.txt" ] || fail "the hh.exe left in $plant ran instead of the viewer"
  [ -n "$found" ] || fail "started from $elsewhere: no viewer window titled $title"
  rm "$plant/hh.exe"
  drv close "$main" >/dev/null || fail "no main window to close (driver exit $?): $(drv list)"
  drv wait "$main" --gone --timeout 10000 >/dev/null || fail "main window still open"
  new_session
}
help_from_elsewhere "$elsewhere"
echo "started from another folder with an hh.exe in it: the system's viewer opened our help, that hh.exe never ran"
help_from_elsewhere "$E2E_DIR"
echo "started from another folder with an hh.exe beside the program: the system's viewer opened our help, that hh.exe never ran"

# The viewer cannot start: hh.exe is moved out of the system folders for the
# while.
hide_viewer
click_shows_nothing any_viewer
show_viewer
echo "viewer missing: no viewer, no box of ours, the window unchanged and answering; hh.exe back in place"
new_session

rm PelloryV2_0.chm
click_shows_nothing viewer ran
echo "help file absent: the viewer started and ended; no box of ours, the window unchanged and answering"
