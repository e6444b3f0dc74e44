# A download in progress when the program starts: the watch starts by itself
# at the first activation, the caption blinks; the window is minimised, and
# when the dialog has gone the program restores it with the shutdown caption
# for about 5 s, logs the normal end and shuts down: the Wine session ends, a
# bystander program with it. During those 5 s, which handle no message, the
# window is drawn whole, its buttons and log view included; more rounds check
# this again from a watch left as it was and from a minimised one.
source "$(dirname "$0")/watch.bash"
source "$(dirname "$0")/drawn.bash"

# The outer size in the driver's rectangles of the window.
size_of() { sed -n 's/^window=[0-9-]*,[0-9-]*,//p' <<<"$1"; }
# Minimises the watching window; FRAME is its rectangle from before.
minimise() {
  frame=$(drv rect '監視中 - Pellory' --contains)
  size=$(size_of "$frame")
  drv show '監視中 - Pellory' min --contains
  local now
  for _ in $(seq 20); do
    now=$(drv rect '監視中 - Pellory' --contains)
    grep -qx 'state=minimized' <<<"$now" && return 0
    sleep 0.5
  done
  fail "not minimised: $now"
}

# The desktop as a PNG, for drawn_during_wait.
desktop_png() { import -window root -crop "$WATCH_SIZE+0+0" +repage "$1"; }
# Screenshots of the shutdown wait until one shows the window drawn; FRAME is
# then the driver's rectangles of the restored window, the picture $1.png.
drawn_under_shutdown() {
  local picture="$E2E_RESULTS/$1.png"
  drawn_during_wait "$SHUTDOWN" "$LOG" "$picture" desktop_png || fail "$DRAWN_WHY"
  frame=$DRAWN_FRAME
  echo "drawn during the wait: $DRAWN_SAID (screenshot: $picture)"
}

stage_bystander_and_download
echo "staged: a download dialog saving setup.exe, and a bystander window"

start_pellory
drv wait "$WATCHING" --timeout 30000 >/dev/null || fail "the watch did not start by itself"
echo "started by itself: $WATCHING"
drv wait "$BLINKED" --timeout 5000 >/dev/null || fail "caption never became $BLINKED"
shot watching
drv wait "$WATCHING" --timeout 5000 >/dev/null || fail "caption never came back to $WATCHING"
echo "blink: $BLINKED, then $WATCHING"
{ [ "$(log_lines | wc -l)" = 1 ] && log_lines | grep -q '　ダウンロード監視スタート$'; } || fail "no start line: $(log_lines)"
echo "log: $(log_lines)"

# Minimised while it watches; a tick that still sees the dialog goes on watching.
minimise
echo "minimised while watching (outer size $size)"
watch_outlasts_a_poll

unstage downloads
echo "the download dialog closed"
drv wait "$SHUTDOWN" --timeout 15000 >/dev/null || fail "no shutdown caption"
seen=$(date +%s.%N)
# Restored from the minimised state, at its own size, and drawn during the wait.
drawn_under_shutdown shutdown
[ "$(size_of "$frame")" = "$size" ] || fail "restored at $(size_of "$frame"), not at $size"
echo "restored under the shutdown caption at $size"
session_ends_after_the_wait "$seen"

log_lines | sed 's/^/  log: /'
[ "$(log_lines | wc -l)" = 2 ] || fail "expected two log lines"
log_lines | tail -n 1 | grep -Eq '^[0-9]{4}/[0-9]{2}/[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}　正常終了シャットダウン$' ||
  fail "the log does not end with the normal-end line"

for round in 2 3 4; do
  stage downloads <<'S'
window dl ファイルのダウンロード
child dl.l dl STATIC 保存しています: setup.exe
S
  start_pellory
  drv wait "$WATCHING" --timeout 30000 >/dev/null || fail "round $round: the watch did not start by itself"
  how="left as it was"
  if ((round % 2)); then
    minimise
    how="minimised"
  fi
  unstage downloads
  drv wait "$SHUTDOWN" --timeout 15000 >/dev/null || fail "round $round: no shutdown caption"
  echo -n "round $round, from a watch $how: "
  drawn_under_shutdown "shutdown-$round"
  timeout 30 wineserver -w || fail "round $round: the Wine session did not end"
done
echo "PASS"
