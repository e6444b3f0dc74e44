# A log whose last event is a start line or an abnormal end: the warning
# with the right title at the first activation, and no automatic start even
# though a download is in progress.
source "$(dirname "$0")/watch.bash"

stage downloads <<'S'
window dl ファイルのダウンロード
child dl.l dl STATIC 保存しています: setup.exe
S

warning=$'前回正常にシャットダウンされていません\r\n再度ダウンロード実行する事をおすすめします'
check() {  # last-line title
  seed_log '2004/01/09 08:03:07　ダウンロード監視スタート' "$1"
  local before
  before=$(md5sum <"$LOG")
  start_pellory
  expect_box "$2" "$warning" warning 'OK=1' 1
  sleep 7  # past the first tick a watch would have had
  drv find "$IDLE" >/dev/null || fail "not idle after the warning titled $2"
  [ "$(md5sum <"$LOG")" = "$before" ] || fail "the log changed"
  # Activating the window again brings no second check.
  drv show "$IDLE" min
  drv show "$IDLE" restore
  if drv msgbox --title "$2" --timeout 3000 >/dev/null; then fail "the warning came again"; fi
  drv close "$IDLE" >/dev/null
  for _ in $(seq 100); do alive "$PELLORY_PID" || break; sleep 0.1; done
  alive "$PELLORY_PID" && fail "the program did not end on close"
  echo "last line '$1': warning '$2', no automatic start, log unchanged"
}
check '2004/01/09 08:13:07　異常終了シャットダウン' '前回異常終了しています'
check '2004/01/09 08:13:07　ダウンロード監視スタート' '前回の終了記録がありません'

# With a recorded end the same desktop starts the watch by itself.
seed_log '2004/01/09 08:03:07　ダウンロード監視スタート' '2004/01/09 08:13:07　ダウンロード監視キャンセル'
start_pellory
drv wait "$WATCHING" --timeout 30000 >/dev/null || fail "no automatic start after a cancel line"
[ "$(log_lines | wc -l)" = 3 ] || fail "the start line was not appended"
echo "last line a cancel: started by itself, start line appended"
unstage downloads
echo "PASS"
