# A second start while the program runs ends silently, before any window;
# the first goes on undisturbed and still answers.
source "$(dirname "$0")/watch.bash"

start_pellory
first=$(drv wait "$IDLE" --timeout 30000) || fail "no window"
echo "first: $first"
sleep 1
# Started by its own name, in other letters' case, and by its short name.
short=$(cd "$E2E_DIR" && wine cmd /c dir /x "$E2E_WIN" | tr -d '\r' | awk '$NF == "PelloryV2_0.exe" { print $(NF - 1) }')
[[ $short == *'~'*.EXE ]] || fail "no short name: '$short'"
for name in PelloryV2_0.exe pelloryv2_0.exe "$short"; do
  timeout 60 bash -c "cd \"\$E2E_DIR\" && wine '$E2E_WIN\\$name'" || fail "the second instance ($name) did not end by itself"
  echo "second instance as $name ended"
done
count=$(drv list | grep -c 'class=PelloryForm') || true
[ "$count" = 1 ] || fail "$count main windows"
if drv msgbox --timeout 0 >/dev/null; then fail "a box appeared"; fi
[ "$(drv find "$IDLE")" = "$first" ] || fail "the first window changed"
alive "$PELLORY_PID" || fail "the first instance ended"
[ -e "$LOG" ] && fail "a log was written"
echo "one window, no box, no log; the first is the same window"

# The first still answers: a start with no download shows its notice. The
# click is handled after whatever the second starts had brought to the
# first; any box of that would still be open once the notice has gone.
drv click "$IDLE" '見張り開始' >/dev/null
expect_box 'ダウンロード開始してからボタンを押してください' \
  $'現在ダウンロードされているファイルがありません\r\nInternet Explorerでダウンロード開始してから見張り開始ボタンを押してください' \
  critical 'OK=1' 1
if drv msgbox --timeout 0 >/dev/null; then fail "a box appeared: $(drv msgbox --timeout 0)"; fi
drv find "$IDLE" >/dev/null || fail "not idle after the notice"
[ -e "$LOG" ] && fail "the notice wrote a log"
echo "PASS"
