# Closing the window while watching. The question stays open while the
# download ends: no tick reaches the watch meanwhile. Answered Yes, one
# cancel line and the program ends without a shutdown: the staged windows
# and the session live on. Started again over a new download and answered
# No: the window and the watch go on, and once the download is over the
# next tick ends the watch with the normal-end line and the shutdown.
source "$(dirname "$0")/watch.bash"

QUIT='終了確認'
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

download
start_pellory
drv wait "$WATCHING" --timeout 30000 >/dev/null || fail "the watch did not start by itself"
echo "watching"

ask_close
finish_under_question Yes "$QUIT" 1
answer 6
for _ in $(seq 100); do alive "$PELLORY_PID" || break; sleep 0.1; done
alive "$PELLORY_PID" && fail "the program did not end"
log_lines | sed 's/^/  log: /'
[ "$(log_lines | wc -l)" = 2 ] && log_lines | tail -n 1 | grep -q '　ダウンロード監視キャンセル$' ||
  fail "expected the start line and one cancel line"
# The session stays up: the program was the only one to go.
drv find '無題 - メモ帳' >/dev/null || fail "the staged window is gone"
alive "$bystander" || fail "the staged windows were ended: a shutdown happened"
echo "Yes: the program ended, one cancel line, no shutdown (the staged window lives on)"

# Last event a cancel: started again over a download, the watch starts by itself.
download
start_pellory
drv wait "$WATCHING" --timeout 30000 >/dev/null || fail "the watch did not start again"
ask_close
finish_under_question No "$QUIT" 3
answer 7
# The window and the watch stay: the next tick ends it. No writes nothing
# (no second cancel line).
next_tick_ends_the_watch 4
echo "No: the window and the watch went on; the next tick ended it, normal-end line, session shut down"
echo "PASS"
