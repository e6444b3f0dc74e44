# Sourced by the watch tests. The program, the imitation dialogs, the driver
# and the launcher share one Wine virtual desktop ("watch"): the scan sees the
# staged windows, the driver sees the program's, and screenshots show frames.
# The setting names these programs only and is removed when the test ends.
source "$(dirname "${BASH_SOURCE[0]}")/imitation.bash"

WATCH_EXES=(PelloryV2_0.exe driver.exe imitation_dialogs.exe spawn_together.exe faultlaunch.exe nullping.exe)
WATCH_SIZE=640x480
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v watch /d "$WATCH_SIZE" /f >/dev/null 2>&1
for exe in "${WATCH_EXES[@]}"; do
  wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$exe\\Explorer" /v Desktop /d watch /f >/dev/null 2>&1
done
# The session ends first, so that nothing of this test outlives the change.
leave_desktop() {
  wineserver -k 2>/dev/null || true
  for exe in "${WATCH_EXES[@]}"; do
    wine reg delete "HKCU\\Software\\Wine\\AppDefaults\\$exe" /f >/dev/null 2>&1 || true
  done
  wineserver -w 2>/dev/null || true  # the registry is saved as the server ends
}
trap leave_desktop EXIT

# shellcheck disable=SC2034  # read by the tests that source this file
IDLE='未監視 - Pellory' WATCHING='●監視中 - Pellory' BLINKED='○監視中 - Pellory'
SHUTDOWN='シャットダウンします...'
LOG="$E2E_DIR/DownloadLog.txt"


# Starts the program in the background; PELLORY_PID is its process. With a
# show command (7 is what a shortcut set to run 最小化 gives), the launcher
# starts it with that STARTUPINFO.wShowWindow instead of a plain start. With
# PELLORY_CHANNELS (a WINEDEBUG value) set, what Wine writes on those
# channels for a plain start is added to $E2E_DIR/pellory.err.
start_pellory() {  # [show]
  if [ -z "${1:-}" ] && [ -n "${PELLORY_CHANNELS:-}" ]; then
    (cd "$E2E_DIR" && WINEDEBUG=$PELLORY_CHANNELS exec wine "$E2E_DIR/PelloryV2_0.exe" >/dev/null 2>>"$E2E_DIR/pellory.err") &
    PELLORY_PID=$!
    return 0
  fi
  if [ -z "${1:-}" ]; then
    wine_start PelloryV2_0.exe
    PELLORY_PID=$!
    return 0
  fi
  wine_run spawn_together.exe 1 0 "$E2E_WIN\\PelloryV2_0.exe" "$1" >/dev/null || fail "the launcher failed"
  local pid
  PELLORY_PID=""
  for pid in $(pgrep -f 'PelloryV2_0\.exe' || true); do
    if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; then PELLORY_PID=$pid; fi
  done
  [ -n "$PELLORY_PID" ] || fail "started with show command $1: no process"
}

# The log as UTF-8 lines, without CR.
log_lines() { iconv -f CP932 -t UTF-8 "$LOG" | tr -d '\r'; }
# Writes UTF-8 lines (given one per argument) to the log in Shift-JIS with CR LF.
seed_log() {
  printf '%s\r\n' "$@" | iconv -f UTF-8 -t CP932 >"$LOG"
}

# The virtual desktop as a PNG beside the test results.
shot() {
  import -window root -crop "$WATCH_SIZE+0+0" +repage "$E2E_RESULTS/$1.png"
  echo "screenshot: $E2E_RESULTS/$1.png"
}

# Checks a message box shown by the program: title, text, icon, buttons;
# then presses the button with the given id (1 OK, 6 Yes, 7 No).
expect_box() {  # title text icon buttons press
  local out
  out=$(drv msgbox --title "$1" --timeout 15000) || fail "no box titled $1"
  printf '%s\n' "$out" | sed 's/^/  /'
  [[ $out == *"text=$2"* ]] || fail "box $1: text differs"
  [[ $out == *"icon=$3"* ]] || fail "box $1: icon is not $3"
  [[ $out == *"buttons=$4"* ]] || fail "box $1: buttons are not $4"
  drv msgbox --title "$1" --press "$5" >/dev/null || fail "box $1: could not press $5"
  drv wait "$1" --gone --timeout 10000 >/dev/null || fail "box $1 still open"
}

# Six changes of the blinking caption, each seen while the watch runs, show
# that the program's own timers ran for over 5 s: a poll due meanwhile has had
# its tick, however slowly this machine lets us look. Each look waits up to
# 2 s for the watching caption, less than the shutdown caption or an idle
# window would last: once, right after the window was minimised, a look that
# did not wait missed the window that the next list showed watching.
watch_outlasts_a_poll() {
  local blinks=0 last="" caption
  for _ in $(seq 120); do
    caption=$(drv find '監視中 - Pellory' --contains --timeout 2000 | tr -d '\r' | sed 's/^0x[0-9a-f]* text=//') ||
      fail "the window left its watching presentation: $(drv list)"
    [ -n "$last" ] && [ "$caption" != "$last" ] && blinks=$((blinks + 1))
    last=$caption
    [ "$blinks" -ge 6 ] && return 0
  done
  fail "the caption stopped blinking: $(drv list) $(drv msgbox --timeout 0)"
}

# A tick shows the shutdown caption within this once no download is left (a
# 5 s poll and the scan, with room to spare); a check that none comes waits
# longer.
POLL_WAIT=12000

# The download ends while the question titled $2 is open, the log holding $3
# lines. Longer than a tick takes to end the watch, none does: the box, the
# watch, the log and the session (its process $bystander) stay.
finish_under_question() {  # name question lines
  unstage downloads
  if drv wait "$SHUTDOWN" --timeout $((POLL_WAIT + 2000)) >/dev/null; then
    for _ in $(seq 150); do alive "$bystander" || break; sleep 0.1; done
    log_lines | sed 's/^/  log: /'
    alive "$bystander" || fail "$1: a tick ended the watch under the open question, and the session was shut down"
    fail "$1: a tick ended the watch under the open question"
  fi
  { alive "$PELLORY_PID" && alive "$bystander"; } || fail "$1: the session was shut down under the open question"
  drv find "$2" >/dev/null || fail "$1: the question is gone"
  drv find '監視中 - Pellory' --contains >/dev/null || fail "$1: the watch ended under the open question"
  [ "$(log_lines | wc -l)" = "$3" ] || fail "$1: the log changed under the open question: $(log_lines)"
  shot "question_$1"
  echo "$1: the download ended under the open question: no tick, the box and the watch stay"
}

# With the download over, the next tick ends the watch, the session is shut
# down (its process $bystander gone), and the log holds $1 lines, the last the
# normal-end line.
next_tick_ends_the_watch() {  # lines
  drv wait "$SHUTDOWN" --timeout "$POLL_WAIT" >/dev/null || fail "the next tick did not end the watch"
  for _ in $(seq 300); do alive "$bystander" || break; sleep 0.1; done
  alive "$bystander" && fail "the watch ended without a shutdown"
  timeout 30 wineserver -w || fail "the Wine session did not end"
  log_lines | sed 's/^/  log: /'
  { [ "$(log_lines | wc -l)" = "$1" ] && log_lines | tail -n 1 | grep -q '　正常終了シャットダウン$'; } ||
    fail "the log does not end with the normal-end line"
}

# Stages a window of another program, whose process $bystander a shutdown
# ends, and a download dialog saving setup.exe.
stage_bystander_and_download() {
  stage bystander <<'S'
window memo 無題 - メモ帳
S
  bystander=$IMITATION_PID
  stage downloads <<'S'
window dl ファイルのダウンロード
child dl.l dl STATIC 保存しています: setup.exe
S
}

# True while a staged process (by its id) still runs.
alive() { kill -0 "$1" 2>/dev/null; }

# The shutdown caption was seen at $1 (date +%s.%N): the session goes down,
# its process $bystander with it, about 5 s later.
session_ends_after_the_wait() {  # seen
  local gone shown
  for _ in $(seq 300); do alive "$bystander" || break; sleep 0.1; done
  gone=$(date +%s.%N)
  alive "$bystander" && fail "the bystander survived: no shutdown"
  timeout 30 wineserver -w || fail "the Wine session did not end"
  shown=$(echo "$gone - $1" | bc)
  echo "shutdown caption to session end: ${shown} s"
  (($(echo "$shown >= 3.5 && $shown <= 9" | bc))) || fail "the shutdown caption did not stay about 5 s"
}
