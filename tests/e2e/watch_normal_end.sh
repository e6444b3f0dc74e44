# A download in progress when the program starts: the watch starts by itself
# at the first activation, the caption blinks, and when the dialog has gone
# the program shows the shutdown caption for about 5 s, logs the normal end
# and shuts down: the Wine session ends, a bystander program with it.
source "$(dirname "$0")/watch.bash"

stage bystander <<'S'
window memo 無題 - メモ帳
S
bystander=$IMITATION_PID
stage downloads <<'S'
window dl ファイルのダウンロード
child dl.l dl STATIC 保存しています: setup.exe
S
echo "staged: a download dialog saving setup.exe, and a bystander window"

start_pellory
drv wait "$WATCHING" --timeout 30000 >/dev/null || fail "the watch did not start by itself"
echo "started by itself: $WATCHING"
drv wait "$BLINKED" --timeout 5000 >/dev/null || fail "caption never became $BLINKED"
shot watching
drv wait "$WATCHING" --timeout 5000 >/dev/null || fail "caption never came back to $WATCHING"
echo "blink: $BLINKED, then $WATCHING"
[ "$(log_lines | wc -l)" = 1 ] && log_lines | grep -q '　ダウンロード監視スタート$' || fail "no start line: $(log_lines)"
echo "log: $(log_lines)"

# A tick that still sees the dialog goes on watching.
sleep 6
drv find '監視中 - Pellory' --contains >/dev/null || fail "the watch ended while the dialog was open"

unstage downloads
echo "the download dialog closed"
drv wait "$SHUTDOWN" --timeout 15000 >/dev/null || fail "no shutdown caption"
seen=$(date +%s.%N)
shot shutdown
for _ in $(seq 300); do alive "$bystander" || break; sleep 0.1; done
gone=$(date +%s.%N)
alive "$bystander" && fail "the bystander survived: no shutdown"
timeout 30 wineserver -w || fail "the Wine session did not end"
shown=$(echo "$gone - $seen" | bc)
echo "shutdown caption to session end: ${shown} s"
(( $(echo "$shown >= 3.5 && $shown <= 9" | bc) )) || fail "the shutdown caption did not stay about 5 s"

log_lines | sed 's/^/  log: /'
[ "$(log_lines | wc -l)" = 2 ] || fail "expected two log lines"
log_lines | tail -n 1 | grep -Eq '^[0-9]{4}/[0-9]{2}/[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}　正常終了シャットダウン$' ||
  fail "the log does not end with the normal-end line"
echo "PASS"
