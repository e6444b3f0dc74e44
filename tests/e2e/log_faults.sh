# A log that cannot be written: made unwritable (immutable, which binds root
# too), or on a full disk (a 1 MB tmpfs mapped as drive X:, the program and
# its log on it). The start line's failure shows cmdStart_Click's box and
# leaves the window watching with no poll; a cancel that cannot write its
# line is reported as an uncaught error and ends the program; a line the full
# disk took in part is cut off again, so the next line starts cleanly.
# Drive X: is mapped before the session starts: Wine 10 does not see a drive
# added while its server runs.
full=/tmp/pellory-full-$$
mkdir -p "$full"
mount -t tmpfs -o size=1m tmpfs "$full"
ln -sfn "$full" "$WINEPREFIX/dosdevices/x:"
source "$(dirname "$0")/watch.bash"

cleanup() {
  chattr -i "$LOG" 2>/dev/null || true
  rm -f "$WINEPREFIX/dosdevices/x:"
  mountpoint -q "$full" && umount "$full"
  rmdir "$full" 2>/dev/null || true
  leave_desktop
}
trap cleanup EXIT

stage downloads <<'S'
window pr 12% 完了しました - movie.mpg
S

# start_at DIR EXE: starts the program from DIR in the background.
start_at() {
  (cd "$1" && exec wine "$2" >/dev/null 2>&1) &
  PELLORY_PID=$!
}
# No poll: the staged download goes, a tick would end the watch; none does.
expect_no_poll() {
  unstage downloads
  watch_outlasts_a_poll
  if drv msgbox --timeout 0 >/dev/null; then fail "a box appeared: $(drv msgbox --timeout 0)"; fi
  alive "$PELLORY_PID" || fail "a tick ended the watch"
  stage downloads <<'S'
window pr 12% 完了しました - movie.mpg
S
}
# cancel_uncaught: Yes to the cancel question, the uncaught error, program end.
cancel_uncaught() {  # error-text
  drv click '監視中 - Pellory' 'キャンセル' --contains >/dev/null || fail "cancel not clickable"
  expect_box 'ダウンロード監視のキャンセル確認' 'ダウンロード監視をキャンセルしますか' question 'はい(Y)=6|いいえ(N)=7' 6
  expect_box PelloryV2_0 "$1" critical 'OK=1' 1
  for _ in $(seq 100); do alive "$PELLORY_PID" || break; sleep 0.1; done
  alive "$PELLORY_PID" && fail "the program did not end after the uncaught error"
  return 0
}

# Unwritable log: error 75 at the start, then at the cancel.
seed_log '2004/01/09 08:03:07　ダウンロード監視キャンセル'
before=$(md5sum <"$LOG")
chattr +i "$LOG"
start_pellory
expect_box cmdStart_Click '75:パス名が無効です。' critical 'OK=1' 1
expect_no_poll
echo "unwritable log: box 75 titled cmdStart_Click, watching presentation, no poll"
cancel_uncaught '75:パス名が無効です。'
chattr -i "$LOG"
[ "$(md5sum <"$LOG")" = "$before" ] || fail "the unwritable log changed"
echo "unwritable log: cancel reported as uncaught error 75, program ended, log unchanged"

# Full disk: the log's last page has 10 bytes free; the 47-byte start line
# does not fit.
cp "$E2E_DIR/PelloryV2_0.exe" "$full"/
{
  for _ in $(seq 85); do printf '%045d\r\n' 0; done
  printf '%040d\r\n' 0
  printf '2004/01/09 08:03:07\xe3\x80\x80ダウンロード監視キャンセル\r\n' | iconv -f UTF-8 -t CP932
} >"$full/DownloadLog.txt"
[ "$(stat -c %s "$full/DownloadLog.txt")" = 4086 ] || fail "seed log of $(stat -c %s "$full/DownloadLog.txt") bytes"
cp "$full/DownloadLog.txt" "$E2E_DIR/full-before.txt"
dd if=/dev/zero of="$full/fill" bs=4096 2>/dev/null || true
start_at "$full" 'X:\PelloryV2_0.exe'
expect_box cmdStart_Click '61:ディスクの空き容量が不足しています。' critical 'OK=1' 1
cmp "$full/DownloadLog.txt" "$E2E_DIR/full-before.txt" || fail "the failed start line left bytes behind"
expect_no_poll
echo "full disk: box 61 titled cmdStart_Click, log byte for byte as before, watching, no poll"
# Room again: the cancel line follows the old last line cleanly.
rm "$full/fill"
drv click '監視中 - Pellory' 'キャンセル' --contains >/dev/null || fail "cancel not clickable"
expect_box 'ダウンロード監視のキャンセル確認' 'ダウンロード監視をキャンセルしますか' question 'はい(Y)=6|いいえ(N)=7' 6
drv wait "$IDLE" --timeout 10000 >/dev/null || fail "not idle after the cancel"
[ "$(stat -c %s "$full/DownloadLog.txt")" = $((4086 + 49)) ] || fail "cancel line: $(stat -c %s "$full/DownloadLog.txt") bytes"
cmp -n 4086 "$full/DownloadLog.txt" "$E2E_DIR/full-before.txt" || fail "the old lines changed"
tail -c 49 "$full/DownloadLog.txt" | iconv -f CP932 -t UTF-8 | grep -q '^[0-9/]* [0-9:]*　ダウンロード監視キャンセル'$'\r''$' ||
  fail "the cancel line does not start a line of its own"
echo "full disk, room again: one whole cancel line of 49 bytes after the old 4086"
# Full again, with 10 bytes left in the log's last page: the cancel line of a
# new watch is refused whole and reported as uncaught error 61.
drv click "$IDLE" '見張り開始' >/dev/null || fail "start not clickable"
drv wait '監視中 - Pellory' --contains --timeout 10000 >/dev/null || fail "the watch did not start"
size=$(stat -c %s "$full/DownloadLog.txt")
{ head -c $((8182 - size - 2)) /dev/zero | tr '\0' 0; printf '\r\n'; } >>"$full/DownloadLog.txt"
cp "$full/DownloadLog.txt" "$E2E_DIR/full-before.txt"
dd if=/dev/zero of="$full/fill" bs=4096 2>/dev/null || true
cancel_uncaught '61:ディスクの空き容量が不足しています。'
cmp "$full/DownloadLog.txt" "$E2E_DIR/full-before.txt" || fail "the refused cancel line left bytes behind"
echo "full disk: cancel reported as uncaught error 61, program ended, log byte for byte as before"
unstage downloads
echo "PASS"
