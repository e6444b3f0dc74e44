# Closing the window while watching. The question stays open while the
# download ends: no tick reaches the watch meanwhile. Answered Yes, one
# cancel line and the program ends without a shutdown: the staged windows
# and the session live on. A log-off, asked as Windows asks it, closes the
# window the same way: while idle the program ends at once, with no question
# and no line, and lets the log-off go on; while watching it asks, and Yes
# writes the cancel line, ends the program and lets the log-off go on, No
# refuses it and the watch goes on. Under a box of ours the same holds where
# no question is needed: idle under the previous-run warning, a log-off ends
# the program; while watching, under the cancel question, a close from
# another program and a log-off are refused at once, with no question opened
# inside it. The About window, open over the watch, answers a log-off
# without closing, and stays when the main window refuses it. Started again
# over a new download and answered No: the window and the watch go on, and
# once the download is over the next tick ends the watch with the normal-end
# line and the shutdown.
source "$(dirname "$0")/watch.bash"

QUIT='終了確認'
CANCEL='ダウンロード監視のキャンセル確認'
ABOUT='バージョン情報'
stage bystander <<'S'
window memo 無題 - メモ帳
S
bystander=$IMITATION_PID
download() {
  stage downloads <<'S'
window pr 80% 完了しました - tools.zip
S
}

# Asks to close the watching window; the question opens.
ask_close() {
  drv close '監視中 - Pellory' --contains >/dev/null
  drv wait "$QUIT" --timeout 15000 >/dev/null || fail "no close question"
}
answer() {
  expect_box "$QUIT" 'ダウンロード監視をキャンセルして終了しますか' question 'はい(Y)=6|いいえ(N)=7' "$1"
}
# A log-off asks the watching window; its answer waits on the question, so
# the asking driver runs in the background.
ask_session_end() {
  drv endsession '監視中 - Pellory' --contains --timeout 120000 >"$E2E_DIR/session.txt" &
  session_asker=$!
  drv wait "$QUIT" --timeout 15000 >/dev/null || fail "no close question at a log-off"
}
# The log-off's answer: answer=1 it may go on, answer=0 refused.
session_answer() {
  wait "$session_asker" || true
  tr -d '\r' <"$E2E_DIR/session.txt"
}
# The program ends, and only the program: the staged windows live on.
ends_by_itself() {  # what
  for _ in $(seq 100); do alive "$PELLORY_PID" || break; sleep 0.1; done
  alive "$PELLORY_PID" && fail "$1: the program did not end"
  alive "$bystander" || fail "$1: the staged windows were ended: a shutdown happened"
  return 0
}

download
start_pellory
drv wait "$WATCHING" --timeout 30000 >/dev/null || fail "the watch did not start by itself"
echo "watching"

ask_close
finish_under_question Yes "$QUIT" 1
answer 6
# The session stays up: the program was the only one to go.
ends_by_itself Yes
log_lines | sed 's/^/  log: /'
{ [ "$(log_lines | wc -l)" = 2 ] && log_lines | tail -n 1 | grep -q '　ダウンロード監視キャンセル$'; } ||
  fail "expected the start line and one cancel line"
drv find '無題 - メモ帳' >/dev/null || fail "the staged window is gone"
echo "Yes: the program ended, one cancel line, no shutdown (the staged window lives on)"

# A log-off while idle: no question, the program lets it go on and ends, the
# log stays as it was.
start_pellory
drv wait "$IDLE" --timeout 30000 >/dev/null || fail "no idle window"
before=$(md5sum <"$LOG")
said=$(drv endsession "$IDLE" --timeout 15000 | tr -d '\r') || fail "idle log-off: $said $(drv msgbox --timeout 0)"
[ "$said" = answer=1 ] || fail "idle log-off: $said"
ends_by_itself "idle log-off"
[ "$(md5sum <"$LOG")" = "$before" ] || fail "idle log-off: the log changed: $(log_lines)"
echo "log-off while idle: no question, allowed, the program ended, the log unchanged"

# The same under the previous-run warning, which a log ending in a start line
# brings; the log is put back afterwards.
cp "$LOG" "$E2E_DIR/log.kept"
seed_log '2004/01/09 08:03:07　ダウンロード監視スタート'
before=$(md5sum <"$LOG")
start_pellory
drv wait '前回の終了記録がありません' --timeout 20000 >/dev/null || fail "no previous-run warning"
said=$(drv endsession "$IDLE" --timeout 15000 | tr -d '\r') || fail "log-off under the warning: $said"
[ "$said" = answer=1 ] || fail "log-off under the warning: $said, the program $(alive "$PELLORY_PID" && echo stays)"
ends_by_itself "log-off under the warning"
[ "$(md5sum <"$LOG")" = "$before" ] || fail "log-off under the warning: the log changed: $(log_lines)"
mv "$E2E_DIR/log.kept" "$LOG"
echo "log-off while idle under the previous-run warning: allowed, the program ended, the log unchanged"

# A log-off while watching, answered Yes.
download
start_pellory
drv wait "$WATCHING" --timeout 30000 >/dev/null || fail "the watch did not start again"
ask_session_end
finish_under_question log-off-Yes "$QUIT" 3
answer 6
[ "$(session_answer)" = answer=1 ] || fail "log-off, Yes: $(session_answer)"
ends_by_itself "log-off, Yes"
{ [ "$(log_lines | wc -l)" = 4 ] && log_lines | tail -n 1 | grep -q '　ダウンロード監視キャンセル$'; } ||
  fail "log-off, Yes: expected one more cancel line: $(log_lines)"
echo "log-off while watching, Yes: allowed, one cancel line, the program ended"

# A log-off while watching, answered No: refused, the watch goes on.
download
start_pellory
drv wait "$WATCHING" --timeout 30000 >/dev/null || fail "the watch did not start again"
ask_session_end
answer 7
[ "$(session_answer)" = answer=0 ] || fail "log-off, No: $(session_answer)"
drv find '監視中 - Pellory' --contains >/dev/null || fail "log-off, No: the watch did not go on"
[ "$(log_lines | wc -l)" = 5 ] || fail "log-off, No: the log changed: $(log_lines)"
echo "log-off while watching, No: refused, the watch goes on, nothing written"

# Under the cancel question: a close sent by another program is handled at
# once (a question opened inside it would keep the sender waiting), and a
# log-off is refused; the cancel question's own No keeps the watch.
drv click '監視中 - Pellory' 'キャンセル' --contains >/dev/null || fail "cancel not clickable"
drv wait "$CANCEL" --timeout 15000 >/dev/null || fail "no cancel question"
drv close '監視中 - Pellory' --contains --sent --timeout 15000 >/dev/null ||
  fail "a close under the cancel question was not handled at once: $(drv list)"
drv find "$QUIT" --timeout 0 >/dev/null && fail "a close question opened inside the cancel question"
said=$(drv endsession '監視中 - Pellory' --contains --timeout 15000 | tr -d '\r') || fail "log-off under the cancel question: $said"
[ "$said" = answer=0 ] || fail "log-off under the cancel question: $said"
expect_box "$CANCEL" 'ダウンロード監視をキャンセルしますか' question 'はい(Y)=6|いいえ(N)=7' 7
drv find '監視中 - Pellory' --contains >/dev/null || fail "under the cancel question: the watch did not go on"
[ "$(log_lines | wc -l)" = 5 ] || fail "under the cancel question: the log changed: $(log_lines)"
echo "under the cancel question: a close handled at once without a question, a log-off refused; the watch goes on"

# The About window over the watch: asked first, it says yes and stays; the
# main window asks its question, No refuses, and the About window stays.
drv click '監視中 - Pellory' ... --contains >/dev/null || fail "About button not usable"
drv wait "$ABOUT" --timeout 10000 >/dev/null || fail "no About window"
said=$(drv endsession "$ABOUT" --timeout 15000 | tr -d '\r') || fail "log-off asking the About window: $said"
[ "$said" = answer=1 ] || fail "log-off asking the About window: $said"
drv find "$ABOUT" >/dev/null || fail "the About window closed at a log-off's question"
ask_session_end
answer 7
[ "$(session_answer)" = answer=0 ] || fail "log-off under the About window, No: $(session_answer)"
drv find "$ABOUT" >/dev/null || fail "the About window closed though the log-off was refused"
shot about_after_logoff
drv click "$ABOUT" OK >/dev/null
drv wait "$ABOUT" --gone --timeout 10000 >/dev/null || fail "OK did not close the About window"
echo "About window: answered a log-off without closing, and stayed when the main window refused it"

# The same watch, asked to close and answered No.
ask_close
finish_under_question No "$QUIT" 5
answer 7
# The window and the watch stay: the next tick ends it. No writes nothing
# (no second cancel line).
next_tick_ends_the_watch 6
echo "No: the window and the watch went on; the next tick ended it, normal-end line, session shut down"
echo "PASS"
