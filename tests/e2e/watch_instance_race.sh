# Two starts at the same instant, 20 times over: both processes are created
# suspended and let go together. Each time exactly one survives with exactly
# one main window, the other ends by itself without a window, no box shows,
# no log is written; the survivor stays the same window and, closed while
# idle, ends without a question. Then the next pair.
source "$(dirname "$0")/watch.bash"

tries=${RACE_TRIES:-20}
for try in $(seq "$tries"); do
  # Into a file: the started copies hold on to the output, a pipe would wait for them.
  wine_run spawn_together.exe 2 20000 "$E2E_WIN\\PelloryV2_0.exe" >"$E2E_DIR/spawn.txt"
  out=$(tr -d '\r' <"$E2E_DIR/spawn.txt")
  [ "$(head -n 1 <<<"$out")" = "running=1 exited=1" ] || fail "try $try: $out"
  grep -qx 'exit=0' <<<"$out" || fail "try $try: the second start did not end cleanly: $out"
  first=$(drv wait "$IDLE" --timeout 30000) || fail "try $try: no window"
  drv list >"$E2E_DIR/windows.txt"
  windows=$(grep -c 'class=PelloryForm' "$E2E_DIR/windows.txt") || true
  captions=$(grep -c "text=$IDLE\$" "$E2E_DIR/windows.txt") || true
  { [ "$windows" = 1 ] && [ "$captions" = 1 ]; } || fail "try $try: $windows main windows, $captions captioned $IDLE"
  if drv msgbox --timeout 0 >/dev/null; then fail "try $try: a box appeared"; fi
  [ "$(drv find "$IDLE")" = "$first" ] || fail "try $try: the window changed"
  [ -e "$LOG" ] && fail "try $try: a log was written"
  drv close "$IDLE" >/dev/null
  drv wait "$IDLE" --gone --timeout 15000 >/dev/null || fail "try $try: the survivor did not close"
  echo "ok: try $try: one survivor, one window, no box"
done
echo "PASS: $tries simultaneous pairs"
