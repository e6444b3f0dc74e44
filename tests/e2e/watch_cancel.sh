# Cancelling a watch. The question stays open while the download ends: no
# tick reaches the watch meanwhile, so nothing ends it under the open box.
# Answered Yes: one cancel line, the window idle again, the log view
# reloaded, and no poll left running (the download is gone: a tick would
# shut down). Then a watch started with "上書き出力" chosen in the window:
# the log holds its start line alone, and the cancel is appended all the
# same. Last, a download ends under the question answered No: the watch goes
# on, and its next tick ends it with the normal-end line and the shutdown.
# Through it all, Wine's record of what the program asked of the system's
# sleep: each start keeps the system awake, each cancel gives that back,
# and the watch that ends in the shutdown holds it to the end.
source "$(dirname "$0")/watch.bash"
# shellcheck disable=SC2034  # read by start_pellory (watch.bash)
PELLORY_CHANNELS=warn+ntdll

CANCEL='ダウンロード監視のキャンセル確認'
stage bystander <<'S'
window memo 無題 - メモ帳
S
bystander=$IMITATION_PID
download() {
  stage downloads <<'S'
window pr 12% 完了しました - movie.mpg
S
}

# Clicks the cancel button of the watching window; the question opens.
ask_cancel() {
  drv click '監視中 - Pellory' 'キャンセル' --contains >/dev/null || fail "cancel not clickable"
  drv wait "$CANCEL" --timeout 15000 >/dev/null || fail "no cancel question"
}
# Answers the open question (6 Yes, 7 No).
answer() {
  expect_box "$CANCEL" 'ダウンロード監視をキャンセルしますか' question 'はい(Y)=6|いいえ(N)=7' "$1"
}
# After a Yes: the window idle, the log the start line and one cancel line.
cancelled() {
  drv wait "$IDLE" --timeout 10000 >/dev/null || fail "$1: not idle"
  log_lines | sed 's/^/  log: /'
  { [ "$(log_lines | wc -l)" = 2 ] && log_lines | tail -n 1 | grep -q '　ダウンロード監視キャンセル$'; } ||
    fail "$1: expected the start line and one cancel line"
}
# The idle window's option button with the text $1: "checked=0" or "checked=1".
option() { drv controls "$IDLE" | awk -v t="$1" '{ i = index($0, " text="); if (substr($0, i + 6) == t) print $5 }'; }

download
start_pellory
drv wait "$WATCHING" --timeout 30000 >/dev/null || fail "the watch did not start by itself"
echo "watching"

ask_cancel
finish_under_question Yes "$CANCEL" 1
answer 6
cancelled Yes
controls=$(drv controls "$IDLE")
grep -q 'class=Edit .*text=[^ ]* [^ ]*　ダウンロード監視スタート\\r\\n[^ ]* [^ ]*　ダウンロード監視キャンセル\\r\\n$' <<<"$controls" ||
  fail "the log view does not show both lines: $(echo "$controls" | grep class=Edit)"
grep -q 'enabled=1 .* text=見張り開始$' <<<"$controls" || fail "start button not enabled"
grep -q 'enabled=0 .* text=キャンセル$' <<<"$controls" || fail "cancel button not disabled"
# No download is left: a poll still running would end a watch and shut down.
drv wait "$SHUTDOWN" --timeout $((POLL_WAIT + 2000)) >/dev/null && fail "a tick after the cancel ended the watch"
alive "$bystander" || fail "a shutdown after the cancel"
drv find "$IDLE" >/dev/null || fail "caption changed after the cancel"
[ "$(log_lines | wc -l)" = 2 ] || fail "the log grew after the cancel"
echo "Yes: idle, one cancel line, view reloaded, no further tick"

# Overwrite chosen in the window: the start empties the log and writes its
# line alone; the cancel still appends, and the choice stays.
download
seed_log '2000/01/01 00:00:00　ダウンロード監視スタート' '2000/01/01 00:00:05　正常終了シャットダウン' 'an earlier line'
drv click "$IDLE" '上書き出力' >/dev/null || fail "the overwrite option takes no click"
for _ in $(seq 20); do [ "$(option 上書き出力)" = checked=1 ] && break; sleep 0.5; done
[ "$(option 上書き出力)/$(option 前回のログに追加)" = checked=1/checked=0 ] || fail "overwrite not selected"
drv click "$IDLE" '見張り開始' >/dev/null || fail "start not clickable"
drv wait '監視中 - Pellory' --contains --timeout 15000 >/dev/null || fail "the watch did not start"
log_lines | sed 's/^/  log: /'
{ [ "$(log_lines | wc -l)" = 1 ] && log_lines | grep -Eq '^[0-9]{4}/[0-9]{2}/[0-9]{2} [0-9:]{8}　ダウンロード監視スタート$'; } ||
  fail "overwrite: the log is not the start line alone"
ask_cancel
answer 6
cancelled overwrite
[ "$(option 上書き出力)/$(option 前回のログに追加)" = checked=1/checked=0 ] || fail "overwrite no longer selected"
echo "overwrite: the earlier lines gone, the start line alone, the cancel appended; still selected"

# No: the watch goes on, so once the download is over its next tick ends it.
drv click "$IDLE" '見張り開始' >/dev/null || fail "start not clickable"
drv wait '監視中 - Pellory' --contains --timeout 15000 >/dev/null || fail "the watch did not start again"
ask_cancel
finish_under_question No "$CANCEL" 1
answer 7
# No writes nothing: the log holds the start line and the end line alone.
next_tick_ends_the_watch 2
echo "No: the watch went on; its next tick ended it, normal-end line, session shut down"
asked=$(sed -n 's/.*NtSetThreadExecutionState (\(0x[0-9a-f]*\).*/\1/p' "$E2E_DIR/pellory.err" | tr '\n' ' ')
echo "asked of the system's sleep: $asked"
[ "$asked" = "0x80000001 0x80000000 0x80000001 0x80000000 0x80000001 " ] ||
  fail "expected awake (0x80000001) at each start, released (0x80000000) at each cancel, and nothing after the last start"
echo "PASS"
