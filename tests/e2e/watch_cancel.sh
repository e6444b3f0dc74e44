# Cancelling a watch: answered No, nothing changes; answered Yes, one cancel
# line, the window idle again and the log view reloaded.
source "$(dirname "$0")/watch.bash"

stage downloads <<'S'
window pr 12% 完了しました - movie.mpg
S
start_pellory
drv wait "$WATCHING" --timeout 30000 >/dev/null || fail "the watch did not start by itself"
echo "watching"

drv click '監視中 - Pellory' 'キャンセル' --contains >/dev/null || fail "cancel not clickable"
expect_box 'ダウンロード監視のキャンセル確認' 'ダウンロード監視をキャンセルしますか' question 'はい(Y)=6|いいえ(N)=7' 7
sleep 6  # a tick passes: the watch goes on
drv find '監視中 - Pellory' --contains >/dev/null || fail "not watching after No"
[ "$(log_lines | wc -l)" = 1 ] || fail "No wrote to the log: $(log_lines)"
echo "No: still watching, log unchanged"

drv click '監視中 - Pellory' 'キャンセル' --contains >/dev/null || fail "cancel not clickable"
expect_box 'ダウンロード監視のキャンセル確認' 'ダウンロード監視をキャンセルしますか' question 'はい(Y)=6|いいえ(N)=7' 6
drv wait "$IDLE" --timeout 10000 >/dev/null || fail "not idle after Yes"
log_lines | sed 's/^/  log: /'
[ "$(log_lines | wc -l)" = 2 ] && log_lines | tail -n 1 | grep -q '　ダウンロード監視キャンセル$' ||
  fail "expected the start line and one cancel line"
controls=$(drv controls "$IDLE")
echo "$controls" | grep -q 'class=Edit .*text=[^ ]* [^ ]*　ダウンロード監視スタート\\r\\n[^ ]* [^ ]*　ダウンロード監視キャンセル\\r\\n$' ||
  fail "the log view does not show both lines: $(echo "$controls" | grep class=Edit)"
echo "$controls" | grep -q 'enabled=1 .* text=見張り開始$' || fail "start button not enabled"
echo "$controls" | grep -q 'enabled=0 .* text=キャンセル$' || fail "cancel button not disabled"
sleep 6  # no tick any more
drv find "$IDLE" >/dev/null || fail "caption changed after the cancel"
[ "$(log_lines | wc -l)" = 2 ] || fail "the log grew after the cancel"
echo "Yes: idle, one cancel line, view reloaded, no further tick"
echo "PASS"
