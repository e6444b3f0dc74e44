# The session is killed (wineserver -k) at seeded random moments of watches:
# while the start line is written, while a cancel writes its line, and during
# the end sequence's wait and end line. After each kill: the log still starts
# with every byte it had before, it reads without an error box, and its last
# event is the last whole line's; a kill right after a start line makes the
# next start warn "前回の終了記録がありません". KILL_ROUNDS and KILL_SEED
# choose how many and which moments.
source "$(dirname "$0")/watch.bash"

rounds=${KILL_ROUNDS:-6}
RANDOM=${KILL_SEED:-7}
texts=(ダウンロード監視スタート 正常終了シャットダウン 異常終了シャットダウン ダウンロード監視キャンセル)
names=(start normal abnormal cancel)

# The event of the last line that holds one, as Read_Log names it.
expected_last() {
  local line i found=none
  while IFS= read -r line; do
    for i in 0 1 2 3; do [[ $line == *"${texts[$i]}"* ]] && found=${names[$i]}; done
  done < <(log_lines)
  echo "$found"
}
kill_session() {
  sleep "$1"
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  # A program killed while it was still starting may have brought up a server
  # of its own after the kill: end it and that server too.
  if kill -9 "$PELLORY_PID" 2>/dev/null; then
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
  fi
}
seed_log '2004/01/09 08:03:07　ダウンロード監視キャンセル'
warned=0 before_line=0 after_line=0
for round in $(seq "$rounds"); do
  cp "$LOG" "$E2E_DIR/before.txt"
  kind=$((RANDOM % 3))
  delay=$(printf '0.%03d' $((RANDOM % 1000)))
  stage downloads <<'S'
window pr 12% 完了しました - movie.mpg
S
  case $kind in
  0) # around the start, up to a second after the launch: Wine's own start-up,
     # the window, the automatic start and its line (written 0.2-0.5 s in)
    start_pellory
    kill_session "$delay"
    what="start" ;;
  1) # during the cancel
    start_pellory
    drv wait '監視中 - Pellory' --contains --timeout 30000 >/dev/null || fail "round $round: no watch"
    drv click '監視中 - Pellory' 'キャンセル' --contains >/dev/null
    drv msgbox --title 'ダウンロード監視のキャンセル確認' --timeout 15000 >/dev/null
    drv msgbox --title 'ダウンロード監視のキャンセル確認' --press 6 >/dev/null
    delay=0.0${delay#0.}
    kill_session "$delay"
    what="cancel" ;;
  2) # during the end sequence: the wait, then the end line and the shutdown
    start_pellory
    drv wait '監視中 - Pellory' --contains --timeout 30000 >/dev/null || fail "round $round: no watch"
    unstage downloads
    delay=$((RANDOM % 11)).${delay#0.}  # the tick comes within 5 s, the wait takes 5 s more
    kill_session "$delay"
    what="end" ;;
  esac
  size=$(stat -c %s "$E2E_DIR/before.txt")
  cmp -n "$size" "$LOG" "$E2E_DIR/before.txt" >/dev/null || fail "round $round ($what): lines written before were lost"
  out=$(wine_run logtool.exe read | tr -d '\r')
  [[ $out == ok=1\ * && $out != *"box title"* ]] || fail "round $round ($what): the log does not read: $out"
  want=$(expected_last)
  [[ $out == "ok=1 last=$want "* ]] || fail "round $round ($what): last event '$out', expected $want"
  tail -c 2 "$LOG" | od -An -c | grep -q '\\r  *\\n' || fail "round $round ($what): the log ends in a cut line"
  echo "round $round: killed during $what after ${delay}s; log $size -> $(stat -c %s "$LOG") bytes, last event $want"
  if [ "$what" = start ]; then
    if [ "$(stat -c %s "$LOG")" = "$size" ]; then before_line=$((before_line + 1)); else after_line=$((after_line + 1)); fi
  fi
  if [ "$want" = start ] && [ "$warned" = 0 ]; then
    start_pellory
    expect_box '前回の終了記録がありません' $'前回正常にシャットダウンされていません\r\n再度ダウンロード実行する事をおすすめします' warning 'OK=1' 1
    kill_session 0
    warned=1
    echo "  next start: warning 前回の終了記録がありません"
  fi
  # A log ending in a start line is ended by hand, so that the next round starts by itself.
  [ "$want" = start ] && printf '2004/01/09 08:13:07\xe3\x80\x80ダウンロード監視キャンセル\r\n' | iconv -f UTF-8 -t CP932 >>"$LOG"
done
echo "start rounds: $before_line killed before the start line was written, $after_line after"
echo "PASS"
