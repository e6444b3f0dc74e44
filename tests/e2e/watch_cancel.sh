# Cancelling a watch: answered No, nothing changes; answered Yes, one cancel
# line, the window idle again and the log view reloaded. Then a watch started
# with "上書き出力" chosen in the window: the log holds its start line alone,
# and the cancel is appended all the same.
source "$(dirname "$0")/watch.bash"

# Clicks the cancel button of the watching window and answers the question
# (6 Yes, 7 No).
ask_cancel() {
  drv click '監視中 - Pellory' 'キャンセル' --contains >/dev/null || fail "cancel not clickable"
  expect_box 'ダウンロード監視のキャンセル確認' 'ダウンロード監視をキャンセルしますか' question 'はい(Y)=6|いいえ(N)=7' "$1"
}
# After a Yes: the window idle, the log the start line and one cancel line.
cancelled() {
  drv wait "$IDLE" --timeout 10000 >/dev/null || fail "$1: not idle"
  log_lines | sed 's/^/  log: /'
  [ "$(log_lines | wc -l)" = 2 ] && log_lines | tail -n 1 | grep -q '　ダウンロード監視キャンセル$' ||
    fail "$1: expected the start line and one cancel line"
}
# The idle window's option button with the text $1: "checked=0" or "checked=1".
option() { drv controls "$IDLE" | awk -v t="$1" '{ i = index($0, " text="); if (substr($0, i + 6) == t) print $5 }'; }

stage downloads <<'S'
window pr 12% 完了しました - movie.mpg
S
start_pellory
drv wait "$WATCHING" --timeout 30000 >/dev/null || fail "the watch did not start by itself"
echo "watching"

ask_cancel 7
sleep 6  # a tick passes: the watch goes on
drv find '監視中 - Pellory' --contains >/dev/null || fail "not watching after No"
[ "$(log_lines | wc -l)" = 1 ] || fail "No wrote to the log: $(log_lines)"
echo "No: still watching, log unchanged"

ask_cancel 6
cancelled Yes
controls=$(drv controls "$IDLE")
grep -q 'class=Edit .*text=[^ ]* [^ ]*　ダウンロード監視スタート\\r\\n[^ ]* [^ ]*　ダウンロード監視キャンセル\\r\\n$' <<<"$controls" ||
  fail "the log view does not show both lines: $(echo "$controls" | grep class=Edit)"
grep -q 'enabled=1 .* text=見張り開始$' <<<"$controls" || fail "start button not enabled"
grep -q 'enabled=0 .* text=キャンセル$' <<<"$controls" || fail "cancel button not disabled"
sleep 6  # no tick any more
drv find "$IDLE" >/dev/null || fail "caption changed after the cancel"
[ "$(log_lines | wc -l)" = 2 ] || fail "the log grew after the cancel"
echo "Yes: idle, one cancel line, view reloaded, no further tick"

# Overwrite chosen in the window: the start empties the log and writes its
# line alone; the cancel still appends, and the choice stays.
seed_log '2000/01/01 00:00:00　ダウンロード監視スタート' '2000/01/01 00:00:05　正常終了シャットダウン' 'an earlier line'
drv click "$IDLE" '上書き出力' >/dev/null || fail "the overwrite option takes no click"
for _ in $(seq 20); do [ "$(option 上書き出力)" = checked=1 ] && break; sleep 0.5; done
[ "$(option 上書き出力)/$(option 前回のログに追加)" = checked=1/checked=0 ] || fail "overwrite not selected"
drv click "$IDLE" '見張り開始' >/dev/null || fail "start not clickable"
drv wait '監視中 - Pellory' --contains --timeout 15000 >/dev/null || fail "the watch did not start"
log_lines | sed 's/^/  log: /'
[ "$(log_lines | wc -l)" = 1 ] && log_lines | grep -Eq '^[0-9]{4}/[0-9]{2}/[0-9]{2} [0-9:]{8}　ダウンロード監視スタート$' ||
  fail "overwrite: the log is not the start line alone"
ask_cancel 6
cancelled overwrite
[ "$(option 上書き出力)/$(option 前回のログに追加)" = checked=1/checked=0 ] || fail "overwrite no longer selected"
echo "overwrite: the earlier lines gone, the start line alone, the cancel appended; still selected"
echo "PASS"
