# A log whose last event is a start line or an abnormal end: the warning
# with the right title at the first activation, and no automatic start even
# though a download is in progress; activated again (seen in the foreground),
# no second warning. The same when started as a shortcut set to run minimised
# asks (show command 7) or shown without activation (4): the window's first
# show is its first activation, whether or not the system activates it. With
# a recorded end, a start minimised begins the watch by itself, stays
# minimised while it watches and ends in the shutdown.
source "$(dirname "$0")/watch.bash"

stage_bystander_and_download

warning=$'前回正常にシャットダウンされていません\r\n再度ダウンロード実行する事をおすすめします'
about='バージョン情報'
# Opens and closes the About window. Its click is posted after whatever the
# program had queued, so once the window shows, the handlers before it have run
# to their end: a start or a box they brought would be there by now.
about_round() {  # title of the warning
  drv click "$IDLE" ... >/dev/null || fail "About button not usable: $(drv msgbox --timeout 0)"
  drv wait "$about" --timeout 10000 >/dev/null || fail "no About window: $(drv msgbox --timeout 0)"
  if drv msgbox --title "$1" --timeout 0 >/dev/null; then fail "the warning came again"; fi
  drv find "$IDLE" >/dev/null || fail "not idle after the warning titled $1"
  drv click "$about" OK >/dev/null
  drv wait "$about" --gone --timeout 10000 >/dev/null || fail "OK did not close the About window"
}
foreground() { drv rect "$IDLE" | tr -d '\r' | sed -n 's/^foreground=//p'; }
state() { drv rect "$1" --contains | tr -d '\r' | sed -n 's/^state=//p'; }
check() {  # last-line title [show-command state]
  seed_log '2004/01/09 08:03:07　ダウンロード監視スタート' "$1"
  local before
  before=$(md5sum <"$LOG")
  start_pellory "${3:-}"
  if [ -n "${3:-}" ]; then
    drv wait "$IDLE" --timeout 20000 >/dev/null || fail "show command $3: no window"
    [ "$(state "$IDLE")" = "$4" ] || fail "show command $3: the window is $(state "$IDLE"), not $4"
    drv wait "$2" --timeout 15000 >/dev/null || fail "show command $3: no box titled $2"
    shot "warning_show$3"
  fi
  expect_box "$2" "$warning" warning 'OK=1' 1
  # Activated again, as the window's return to the foreground shows: no second
  # check. The staged dialog is brought to the front meanwhile (a minimised
  # window stays the active one here).
  drv show "$IDLE" min
  drv show ファイルのダウンロード front
  [ "$(foreground)" = 0 ] || fail "still the foreground window with the dialog in front"
  drv show "$IDLE" restore
  if [ "$(foreground)" != 1 ]; then
    if drv msgbox --title "$2" --timeout 0 >/dev/null; then fail "the warning came again"; fi
    fail "not activated again: $(drv rect "$IDLE" | tr '\r\n' '  ')"
  fi
  about_round "$2"
  [ "$(md5sum <"$LOG")" = "$before" ] || fail "the log changed"
  drv close "$IDLE" >/dev/null
  for _ in $(seq 100); do alive "$PELLORY_PID" || break; sleep 0.1; done
  alive "$PELLORY_PID" && fail "the program did not end on close"
  echo "last line '$1'${3:+, show command $3}: warning '$2', no automatic start, log unchanged, no warning on a second activation"
}
check '2004/01/09 08:13:07　異常終了シャットダウン' '前回異常終了しています'
check '2004/01/09 08:13:07　ダウンロード監視スタート' '前回の終了記録がありません'
check '2004/01/09 08:13:07　ダウンロード監視スタート' '前回の終了記録がありません' 7 minimized
check '2004/01/09 08:13:07　異常終了シャットダウン' '前回異常終了しています' 4 normal

# With a recorded end the same desktop starts the watch by itself, started
# minimised; the window stays so while it watches.
seed_log '2004/01/09 08:03:07　ダウンロード監視スタート' '2004/01/09 08:13:07　ダウンロード監視キャンセル'
start_pellory 7
drv wait "$WATCHING" --timeout 30000 >/dev/null || fail "no automatic start after a cancel line"
# The caption turns before the line is written.
for _ in $(seq 100); do [ "$(log_lines | wc -l)" = 3 ] && break; sleep 0.1; done
[ "$(log_lines | wc -l)" = 3 ] || fail "the start line was not appended: $(log_lines)"
watch_outlasts_a_poll
[ "$(state 監視中)" = minimized ] || fail "the watching window is $(state 監視中), not minimised"
echo "last line a cancel, started minimised: started by itself, start line appended, still minimised after a poll"
unstage downloads
next_tick_ends_the_watch 4
echo "the download over: the watch ended in the shutdown"
echo "PASS"
