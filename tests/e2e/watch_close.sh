# Closing the window while watching: answered No, the window and the watch
# go on; answered Yes, one cancel line and the program ends without a
# shutdown: the staged dialogs and the session live on.
source "$(dirname "$0")/watch.bash"

stage downloads <<'S'
window pr 80% 完了しました - tools.zip
S
downloads=$IMITATION_PID
start_pellory
drv wait "$WATCHING" --timeout 30000 >/dev/null || fail "the watch did not start by itself"
echo "watching"

drv close '監視中 - Pellory' --contains >/dev/null
expect_box '終了確認' 'ダウンロード監視をキャンセルして終了しますか' question 'はい(Y)=6|いいえ(N)=7' 7
sleep 6
drv find '監視中 - Pellory' --contains >/dev/null || fail "window or watch gone after No"
alive "$PELLORY_PID" || fail "the program ended after No"
[ "$(log_lines | wc -l)" = 1 ] || fail "No wrote to the log"
echo "No: the window and the watch go on"

drv close '監視中 - Pellory' --contains >/dev/null
expect_box '終了確認' 'ダウンロード監視をキャンセルして終了しますか' question 'はい(Y)=6|いいえ(N)=7' 6
for _ in $(seq 100); do alive "$PELLORY_PID" || break; sleep 0.1; done
alive "$PELLORY_PID" && fail "the program did not end"
log_lines | sed 's/^/  log: /'
[ "$(log_lines | wc -l)" = 2 ] && log_lines | tail -n 1 | grep -q '　ダウンロード監視キャンセル$' ||
  fail "expected the start line and one cancel line"
sleep 3
alive "$downloads" || fail "the staged dialogs were ended: a shutdown happened"
drv find '80% 完了しました - tools.zip' >/dev/null || fail "the staged dialog is gone"
echo "Yes: the program ended, one cancel line, no shutdown (the staged dialog lives on)"
unstage downloads
echo "PASS"
