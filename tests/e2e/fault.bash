# Sourced by the fault-injection test and the fault sweep (bench/fault_sweep.sh):
# one whole watch with one function of the program made to fail
# (tools/hook/fault_inject_hook.cpp, started through tools/faultlaunch.cpp),
# judged from outside the program:
#   crash              Wine's unhandled-exception path shows in the run's
#                      output (WINEDEBUG=warn+seh, kept as seh.txt);
#   hang               a window of the program does not answer a sent
#                      WM_NULL within 5 s while the program lives (nullping),
#                      or the program lives with no window at all;
#   log fault          DownloadLog.txt lost a line it had, or holds a line
#                      that is not a whole log line;
#   unearned shutdown  the session was shut down while the imitation
#                      download window was still on the desktop;
# otherwise the outcome in words: shut down as expected, error box (title and
# text), watching or idle without a shutdown, ended.
source "$(dirname "${BASH_SOURCE[0]}")/watch.bash"

# No crash dialog: Wine's debugger writes its report and the program ends.
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1

FAULT_SEED=(
  '2004/01/08 23:10:02　ダウンロード監視スタート'
  '2004/01/09 01:44:17　正常終了シャットダウン'
  '2004/01/09 08:03:07　ダウンロード監視キャンセル'
)
# A whole log line: date, time, one U+3000, one of the four events.
FAULT_LINE='^[0-9]{4}/[0-9]{2}/[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}　(ダウンロード監視スタート|正常終了シャットダウン|異常終了シャットダウン|ダウンロード監視キャンセル)$'

# The message boxes open now, each as "title: text", pressed away with OK
# (or the default button) so that the run goes on; appended to FAULT_BOXES.
fault_take_boxes() {
  local out title text
  for _ in 1 2 3; do
    out=$(drv msgbox --timeout 0 2>/dev/null | tr -d '\r') || return 0
    title=$(sed -n 's/^title=//p' <<<"$out")
    text=$(sed -n 's/^text=//p' <<<"$out" | tr '\n' ' ')
    FAULT_BOXES+="error box \"$title\": \"$text\"; "
    if grep -q 'OK=1' <<<"$out"; then
      drv msgbox --title "$title" --press 1 >/dev/null 2>&1 || true
    else
      drv msgbox --title "$title" --press 7 >/dev/null 2>&1 || true
    fi
    sleep 0.3
  done
}

# True while the program (the launcher that waits for it) runs.
fault_alive() { kill -0 "$FAULT_LAUNCHER" 2>/dev/null; }

# Sends WM_NULL to the program's windows; adds a hang when one does not
# answer within 5 s while the program lives.
fault_ping() {
  local pid out
  fault_alive || return 0
  pid=$(sed -n 's/^pid=//p' "$FAULT_OUT/launch.out" | tr -d '\r')
  [ -n "$pid" ] || return 0
  out=$(wine_run nullping.exe "$pid" 5000 2>/dev/null | tr -d '\r') && return 0
  echo "$1: $out" >>"$FAULT_OUT/ping.txt"
  # A program that lives on without any window can be neither answered nor
  # closed: a hang too.
  if [ "$out" = "no window" ]; then
    sleep 1
    fault_alive && FAULT_HANG="$1: the program lives with no window"
    return 0
  fi
  # The program may have ended meanwhile (no window), or be in the 5 s wait
  # before a shutdown, which handles no message.
  grep -q timeout <<<"$out" && fault_alive && ! drv find "$SHUTDOWN" --timeout 0 >/dev/null 2>&1 && FAULT_HANG="$1: $out"
  return 0
}

# Judges the log: every line it had is still there, in order, at its start,
# and every line is a whole log line ending in CR LF.
fault_check_log() {
  FAULT_LOGFAULT=""
  cp "$LOG" "$FAULT_OUT/log-after.txt" 2>/dev/null || { FAULT_LOGFAULT="the log is gone"; return 0; }
  local size
  size=$(stat -c %s "$FAULT_OUT/log-before.txt")
  cmp -s -n "$size" "$FAULT_OUT/log-before.txt" "$LOG" || { FAULT_LOGFAULT="a line it had changed or was lost"; return 0; }
  [ "$(stat -c %s "$LOG")" -ge "$size" ] || { FAULT_LOGFAULT="the log is shorter than before"; return 0; }
  if [ -s "$LOG" ] && [ "$(tail -c 2 "$LOG" | od -An -tx1 | tr -d ' \n')" != 0d0a ]; then
    FAULT_LOGFAULT="the log ends in part of a line"
    return 0
  fi
  local bad
  bad=$(iconv -f CP932 -t UTF-8 "$LOG" 2>/dev/null | tr -d '\r' | grep -cvE "$FAULT_LINE" || true)
  [ "$bad" = 0 ] || FAULT_LOGFAULT="$bad line(s) not whole log lines"
}

# fault_run FUNCTION MODE: one watch with FUNCTION failing in MODE (nth:N,
# from:N or from:poll; "census" fails nothing and notes every call). Writes
# its files to $FAULT_OUT (seh.txt, journal.txt, outcome.txt, ...), prints
# "FUNCTION MODE: OUTCOME" and sets FAULT_VERDICT to ok, crash, hang,
# log-fault or unearned-shutdown. Ends the Wine session.
# shellcheck disable=SC2154 # bystander: set by stage_bystander_and_download
fault_run() {
  local function=$1 mode=$2 watched="" gone_early="" ended="" shown="" verdict=ok outcome
  mkdir -p "$FAULT_OUT"
  rm -f "$FAULT_OUT"/*.txt "$FAULT_OUT/launch.out" "$E2E_DIR/journal.txt" "$LOG"
  FAULT_BOXES="" FAULT_HANG=""
  stage_bystander_and_download
  local downloads=$IMITATION_PID
  seed_log "${FAULT_SEED[@]}"
  cp "$LOG" "$FAULT_OUT/log-before.txt"
  (cd "$E2E_DIR" && PELLORY_FAULT=$function PELLORY_FAULT_MODE=$mode PELLORY_FAULT_JOURNAL="$E2E_WIN\\journal.txt" \
    WINEDEBUG=warn+seh exec wine "$E2E_DIR/faultlaunch.exe" fault_inject_hook.dll "$E2E_WIN\\PelloryV2_0.exe" \
    >"$FAULT_OUT/launch.out" 2>"$FAULT_OUT/seh.txt") &
  FAULT_LAUNCHER=$!
  # Start-up: the watch starts by itself, or a box comes, or the program ends.
  for _ in 1 2 3; do
    if drv wait '監視中 - Pellory' --contains --timeout 5000 >/dev/null 2>&1; then watched=1; break; fi
    fault_alive || break
    fault_take_boxes
  done
  # A poll with the download still on the desktop decides nothing: once the
  # first poll is due (5 s after the start), the shutdown caption must not be
  # up; if it is, the session is watched to its end before the download goes.
  # The injector notes when the first poll has returned; a poll that ends the
  # watch never returns, and one that fails shows its box first.
  if [ -n "$watched" ]; then
    for _ in $(seq 40); do
      grep -q '^poll over' "$E2E_DIR/journal.txt" 2>/dev/null && break
      if ! fault_alive || ! alive "$bystander"; then break; fi
      if drv find "$SHUTDOWN" --timeout 0 >/dev/null 2>&1; then
        for _ in $(seq 100); do alive "$bystander" || break; sleep 0.1; done
        break
      fi
      if drv msgbox --timeout 0 >/dev/null 2>&1; then fault_take_boxes; fi
      sleep 0.3
    done
  fi
  if fault_alive; then
    fault_take_boxes
    fault_ping "watch"
  fi
  alive "$bystander" || gone_early=1
  # A shutdown took the imitation dialogs with it.
  if alive "$downloads"; then unstage downloads; fi
  # With the download over, the next poll ends the watch: the shutdown
  # caption, the 5 s wait, the log line, the shutdown.
  if [ -z "$gone_early" ] && [ -n "$watched" ] && fault_alive; then
    if drv wait "$SHUTDOWN" --timeout 12000 >/dev/null 2>&1; then shown=1; fi
    for _ in $(seq 120); do alive "$bystander" || break; sleep 0.1; done
    if alive "$bystander"; then
      fault_take_boxes
      fault_ping "end"
      fault_take_boxes
    fi
  fi
  fault_alive || ended=1
  local survived=""
  alive "$bystander" && survived=1
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  wait "$FAULT_LAUNCHER" 2>/dev/null || true
  cp "$E2E_DIR/journal.txt" "$FAULT_OUT/journal.txt" 2>/dev/null || : >"$FAULT_OUT/journal.txt"
  fault_check_log

  local words
  if ! grep -q '^pid=' "$FAULT_OUT/launch.out"; then
    # Wine itself could not start the program (seen once: the shared user
    # data could not be mapped): no verdict on the program.
    verdict=harness-error
    words="the program did not start: $(tr -d '\r' <"$FAULT_OUT/launch.out" | tr '\n' ' ')"
  elif [ -n "$FAULT_LOGFAULT" ]; then
    verdict=log-fault
    words="log fault: $FAULT_LOGFAULT"
  elif [ -n "$gone_early" ]; then
    verdict=unearned-shutdown
    words="unearned shutdown: the session was shut down with the download still on the desktop"
  elif [ -n "$survived" ]; then
    if [ -n "$ended" ]; then
      words="${FAULT_BOXES}ended, no shutdown"
    elif [ -n "$shown" ]; then
      words="${FAULT_BOXES}shutdown caption shown, no shutdown"
    elif [ -n "$watched" ]; then
      words="${FAULT_BOXES}watch started, no shutdown"
    else
      words="${FAULT_BOXES}idle, no watch"
    fi
  else
    words="${FAULT_BOXES}shut down as expected"
    [ -n "$watched" ] || words="${FAULT_BOXES}shut down (no watch seen)"
  fi
  FAULT_VERDICT=$verdict
  fault_verdict "$function" "$mode" "$words"
}

# fault_verdict FUNCTION MODE WORDS: a crash or a hang comes before anything else
# the run says; prints "FUNCTION MODE: OUTCOME [N call(s) failed]" into
# outcome.txt and the verdict into verdict.txt ($FAULT_VERDICT, set by the
# caller for what it judged itself, ok otherwise).
fault_verdict() {
  local outcome=$3 failed
  if grep -qiE 'unhandled (exception|page fault)|^wine: .*exception|err:seh' "$FAULT_OUT/seh.txt"; then
    FAULT_VERDICT=crash
    outcome="crash: $(grep -iE -m1 'unhandled|exception|err:seh' "$FAULT_OUT/seh.txt" | tr -d '\r')"
  elif [ -n "$FAULT_HANG" ]; then
    FAULT_VERDICT=hang
    outcome="hang: $FAULT_HANG"
  fi
  failed=$(grep -c '^fail ' "$FAULT_OUT/journal.txt" || true)
  FAULT_FAILED=$failed
  [ "$failed" = 10 ] && failed=10+
  [ "$1" = census ] || outcome="$outcome [$failed call(s) failed]"
  echo "$FAULT_FAILED" >"$FAULT_OUT/failed.txt"
  echo "$FAULT_VERDICT" >"$FAULT_OUT/verdict.txt"
  echo "$1 $2: $outcome" | tee "$FAULT_OUT/outcome.txt"
}

# fault_about FUNCTION MODE: the program idle (no download on the desktop),
# its About window open, a release on the home-page label and one on the mail
# label, with FUNCTION failing in MODE. The links ignore their errors: judged
# for crash and hang only, the outcome says whether a box came. Needs no
# shutdown; ends the Wine session.
fault_about() {
  local function=$1 mode=$2 main='未監視 - Pellory' about='バージョン情報' outcome
  FAULT_VERDICT=ok
  mkdir -p "$FAULT_OUT"
  rm -f "$FAULT_OUT"/*.txt "$FAULT_OUT/launch.out" "$E2E_DIR/journal.txt"
  FAULT_BOXES="" FAULT_HANG=""
  (cd "$E2E_DIR" && PELLORY_FAULT=$function PELLORY_FAULT_MODE=$mode PELLORY_FAULT_JOURNAL="$E2E_WIN\\journal.txt" \
    WINEDEBUG=warn+seh exec wine "$E2E_DIR/faultlaunch.exe" fault_inject_hook.dll "$E2E_WIN\\PelloryV2_0.exe" \
    >"$FAULT_OUT/launch.out" 2>"$FAULT_OUT/seh.txt") &
  FAULT_LAUNCHER=$!
  if drv wait "$main" --timeout 20000 >/dev/null 2>&1 && drv click "$main" ... >/dev/null 2>&1 &&
    drv wait "$about" --timeout 10000 >/dev/null 2>&1; then
    drv mouseup "$about" 'https://pellory.example/' 1 >/dev/null 2>&1 || true
    drv mouseup "$about" 'support@pellory.example' 1 >/dev/null 2>&1 || true
    # The failed call is noted in the journal as it happens.
    for _ in $(seq 100); do
      grep -q "^fail $function " "$E2E_DIR/journal.txt" 2>/dev/null && break
      fault_alive || break
      sleep 0.1
    done
    fault_take_boxes
    fault_ping "about"
    outcome="about links: ${FAULT_BOXES:-no box}"
    fault_alive || outcome="$outcome; ended"
  else
    fault_take_boxes
    outcome="${FAULT_BOXES}no About window"
  fi
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  wait "$FAULT_LAUNCHER" 2>/dev/null || true
  cp "$E2E_DIR/journal.txt" "$FAULT_OUT/journal.txt" 2>/dev/null || : >"$FAULT_OUT/journal.txt"
  fault_verdict "$function" "$mode" "$outcome"
}
