# A winmm.dll that a download left beside the program, or in the folder the
# program is started from, is never loaded, though Wine is told to prefer such
# a copy to its own (winmm=n,b) as Windows does for a DLL that is not a known
# system DLL. Each time a whole watch runs to its shutdown, the 5-second wait
# lasts 5 s, and the planted copy (tools/planted/winmm.cpp) leaves no marker;
# loaded on purpose first, it is seen to leave one. With no winmm.dll to be
# had at all, the program still starts and watches, and the wait, which
# loads it, ends the tick with its error box: no end line, no shutdown.
source "$(dirname "$0")/watch.bash"

PLANTED="$PELLORY_WIN_DIR/planted/winmm.dll"
PREFER_PLANTED="$WINEDLLOVERRIDES;winmm=n,b"
MARKER=winmm_loaded.txt

# The planted copy, loaded by its path, leaves its marker: a run that leaves
# none did not load it.
mkdir "$E2E_DIR/control"
cp "$PLANTED" "$E2E_DIR/control/"
if [ "$PELLORY_WINE_BITS" = 32 ]; then rundll32='C:\windows\syswow64\rundll32.exe'; else rundll32=rundll32.exe; fi
WINEDLLOVERRIDES=$PREFER_PLANTED wine "$rundll32" "$E2E_WIN\\control\\winmm.dll,none" >/dev/null 2>&1 || true
[ -s "$E2E_DIR/control/$MARKER" ] || fail "the planted winmm.dll, loaded on purpose, left no marker"
echo "loaded on purpose, the planted winmm.dll left its marker: $(tr -d '\r' <"$E2E_DIR/control/$MARKER")"

# A watch of one download, the program started from folder $2 with the DLL
# overrides $3, until the download ends; the log is new, and $bystander is
# the process of a window staged beside.
watch_until_the_download_ends() {  # what folder overrides
  rm -f "$LOG"
  stage_bystander_and_download
  (cd "$2" && WINEDLLOVERRIDES=$3 exec wine "$E2E_DIR/PelloryV2_0.exe" >/dev/null 2>&1) &
  drv wait "$WATCHING" --timeout 30000 >/dev/null || fail "$1: the watch did not start: $(drv list)"
  unstage downloads
}

# One whole watch with the planted copy in folder $2, the program started
# from there (its current folder).
watch_beside_planted_copy() {  # what folder
  local seen
  cp "$PLANTED" "$2/winmm.dll"
  watch_until_the_download_ends "$1" "$2" "$PREFER_PLANTED"
  drv wait "$SHUTDOWN" --timeout "$POLL_WAIT" >/dev/null || fail "$1: no shutdown caption: $(drv msgbox --timeout 0)"
  seen=$(date +%s.%N)
  echo -n "$1: "
  session_ends_after_the_wait "$seen"
  log_lines | sed 's/^/  log: /'
  log_lines | tail -n 1 | grep -q '　正常終了シャットダウン$' || fail "$1: the log does not end with the normal-end line"
  [ ! -e "$2/$MARKER" ] || fail "$1: the planted winmm.dll was loaded by: $(tr -d '\r' <"$2/$MARKER")"
  echo "$1: the planted winmm.dll left no marker"
  rm "$2/winmm.dll"
}

watch_beside_planted_copy "beside the program" "$E2E_DIR"
mkdir "$E2E_DIR/Downloads"
watch_beside_planted_copy "in the current folder of a start from another folder" "$E2E_DIR/Downloads"

watch_until_the_download_ends "without any winmm.dll" "$E2E_DIR" "$WINEDLLOVERRIDES;winmm="
drv wait tmrPellory_Timer --timeout 15000 >/dev/null || fail "without any winmm.dll: no error box: $(drv list)"
shot no_winmm
expect_box tmrPellory_Timer '48:DLL 読み込み時のエラーです。' critical 'OK=1' 1
drv find "$SHUTDOWN" >/dev/null || fail "without any winmm.dll: the caption is not $SHUTDOWN after the box: $(drv list)"
alive "$bystander" || fail "without any winmm.dll: the session was shut down"
[ "$(log_lines | wc -l)" = 1 ] || fail "without any winmm.dll: an end line was written: $(log_lines)"
echo "without any winmm.dll: the wait ended the tick with its error box; no end line, no shutdown"
echo "PASS"
