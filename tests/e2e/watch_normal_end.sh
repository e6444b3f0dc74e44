# A download in progress when the program starts: the watch starts by itself
# at the first activation, the caption blinks; the window is minimised, and
# when the dialog has gone the program restores it with the shutdown caption
# for about 5 s, logs the normal end and shuts down: the Wine session ends, a
# bystander program with it.
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

# The outer size in the driver's rectangles of the window.
size_of() { sed -n 's/^window=[0-9-]*,[0-9-]*,//p' <<<"$1"; }
# Minimised while it watches; a tick that still sees the dialog goes on watching.
frame=$(drv rect '監視中 - Pellory' --contains)
size=$(size_of "$frame")
drv show '監視中 - Pellory' min --contains
for _ in $(seq 20); do
  frame=$(drv rect '監視中 - Pellory' --contains)
  grep -qx 'state=minimized' <<<"$frame" && break
  sleep 0.5
done
grep -qx 'state=minimized' <<<"$frame" || fail "not minimised: $frame"
echo "minimised while watching (outer size $size)"
sleep 6
drv find '監視中 - Pellory' --contains >/dev/null || fail "the watch ended while the dialog was open"

unstage downloads
echo "the download dialog closed"
drv wait "$SHUTDOWN" --timeout 15000 >/dev/null || fail "no shutdown caption"
seen=$(date +%s.%N)
# Restored from the minimised state, at its own size, during the wait.
for _ in $(seq 6); do
  frame=$(drv rect "$SHUTDOWN") || break
  grep -qx 'state=normal' <<<"$frame" && break
  sleep 0.5
done
grep -qx 'state=normal' <<<"$frame" || fail "not restored under the shutdown caption: $frame"
[ "$(size_of "$frame")" = "$size" ] || fail "restored at $(size_of "$frame"), not at $size"
echo "restored under the shutdown caption at $size"
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
