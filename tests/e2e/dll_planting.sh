# A winmm.dll that a download left beside the program, or in the folder the
# program is started from, is never loaded, though Wine is told to prefer such
# a copy to its own (winmm=n,b) as Windows does for a DLL that is not a known
# system DLL. Each time a whole watch runs to its shutdown, the 5-second wait
# lasts 5 s, and the planted copy (tools/planted/winmm.cpp) leaves no marker;
# loaded on purpose first, it is seen to leave one. With no winmm.dll to be
# had at all, the program still starts and watches, and the wait, which
# loads it, ends the tick with its error box: no end line, no shutdown.
# Before that, the program's loader made as strict as Windows is reported to
# be once SetDefaultDllDirectories has been called (LOAD_WITH_ALTERED_SEARCH_PATH
# refused as an invalid parameter, which Wine accepts): the clock still
# loads, from the System folder alone, and the watch ends in its shutdown.
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
# the process of a window staged beside. A command given after them runs
# once the watch has started, before the download ends.
watch_until_the_download_ends() {  # what folder overrides [command...]
  local what=$1 folder=$2 overrides=$3
  shift 3
  rm -f "$LOG"
  stage_bystander_and_download
  (cd "$folder" && WINEDLLOVERRIDES=$overrides exec wine "$E2E_DIR/PelloryV2_0.exe" >/dev/null 2>&1) &
  drv wait "$WATCHING" --timeout 30000 >/dev/null || fail "$what: the watch did not start: $(drv list)"
  "$@" || fail "$what: $* failed"
  unstage downloads
}

# The watch ends: the shutdown caption, 5 s later the session's end, and the
# normal-end line last in the log.
ends_in_the_shutdown() {  # what
  local seen
  drv wait "$SHUTDOWN" --timeout "$POLL_WAIT" >/dev/null || fail "$1: no shutdown caption: $(drv msgbox --timeout 0)"
  seen=$(date +%s.%N)
  echo -n "$1: "
  session_ends_after_the_wait "$seen"
  log_lines | sed 's/^/  log: /'
  log_lines | tail -n 1 | grep -q '　正常終了シャットダウン$' || fail "$1: the log does not end with the normal-end line"
}

# One whole watch with the planted copy in folder $2, the program started
# from there (its current folder).
watch_beside_planted_copy() {  # what folder
  cp "$PLANTED" "$2/winmm.dll"
  watch_until_the_download_ends "$1" "$2" "$PREFER_PLANTED"
  ends_in_the_shutdown "$1"
  [ ! -e "$2/$MARKER" ] || fail "$1: the planted winmm.dll was loaded by: $(tr -d '\r' <"$2/$MARKER")"
  echo "$1: the planted winmm.dll left no marker"
  rm "$2/winmm.dll"
}

watch_beside_planted_copy "beside the program" "$E2E_DIR"
mkdir "$E2E_DIR/Downloads"
watch_beside_planted_copy "in the current folder of a start from another folder" "$E2E_DIR/Downloads"

# The strict loader, hooked into the program once it watches; it writes each
# load it sees, with its flags, into strict_loader.txt.
watch_until_the_download_ends "strict loader" "$E2E_DIR" "$WINEDLLOVERRIDES" \
  drv strictloader '監視中 - Pellory' --contains
ends_in_the_shutdown "strict loader"
loads=$(tr -d '\r' <"$E2E_DIR/strict_loader.txt")
printf '%s\n' "$loads" | sed 's/^/  load: /'
grep -qi 'winmm.dll flags=0x800 loaded$' <<<"$loads" || fail "strict loader: winmm.dll was not loaded from System32 alone"
echo "strict loader: the clock loaded with the System32-only search; the watch ended in its shutdown"

watch_until_the_download_ends "without any winmm.dll" "$E2E_DIR" "$WINEDLLOVERRIDES;winmm="
drv wait tmrPellory_Timer --timeout 15000 >/dev/null || fail "without any winmm.dll: no error box: $(drv list)"
shot no_winmm
expect_box tmrPellory_Timer '48:DLL 読み込み時のエラーです。' critical 'OK=1' 1
drv find "$SHUTDOWN" >/dev/null || fail "without any winmm.dll: the caption is not $SHUTDOWN after the box: $(drv list)"
alive "$bystander" || fail "without any winmm.dll: the session was shut down"
[ "$(log_lines | wc -l)" = 1 ] || fail "without any winmm.dll: an end line was written: $(log_lines)"
echo "without any winmm.dll: the wait ended the tick with its error box; no end line, no shutdown"

echo "PASS"
