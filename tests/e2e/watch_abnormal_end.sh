# The only download's connection breaks: its error box appears while the
# watch runs, the failed count reaches the active count, and the program
# logs the abnormal end and shuts down.
source "$(dirname "$0")/watch.bash"

stage downloads <<'S'
window dl ファイルのダウンロード
child dl.l dl STATIC 保存しています: data.iso
S
downloads=$IMITATION_PID
start_pellory
drv wait "$WATCHING" --timeout 30000 >/dev/null || fail "the watch did not start by itself"
echo "watching one download"

stage error <<'S'
window err Microsoft Internet Explorer
child err.l err STATIC サーバーとの接続がリセットされました
S
echo "staged its error box: サーバーとの接続がリセットされました"
drv wait "$SHUTDOWN" --timeout 15000 >/dev/null || fail "no shutdown caption"
echo "caption: $SHUTDOWN"
for _ in $(seq 300); do alive "$downloads" || break; sleep 0.1; done
alive "$downloads" && fail "the download dialog survived: no shutdown"
timeout 30 wineserver -w || fail "the Wine session did not end"
echo "session ended"

log_lines | sed 's/^/  log: /'
[ "$(log_lines | wc -l)" = 2 ] || fail "expected two log lines"
log_lines | head -n 1 | grep -q '　ダウンロード監視スタート$' || fail "no start line"
log_lines | tail -n 1 | grep -q '　異常終了シャットダウン$' || fail "the log does not end with the abnormal-end line"
echo "PASS"
