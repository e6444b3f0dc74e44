# The Win32 build writes the download log in Shift-JIS with CR LF, one line of
# 47/45/45/49 bytes per event, appends or starts afresh, and reads it back
# into a real edit control scrolled to its end.
log="$E2E_DIR/DownloadLog.txt"

# The expected bytes of a line, with the time stamp the file itself holds.
expect_line() {  # file offset event-text
  local stamp
  stamp=$(dd if="$1" bs=1 skip="$2" count=19 2>/dev/null)
  [[ $stamp =~ ^[0-9]{4}/[0-9]{2}/[0-9]{2}\ [0-9]{2}:[0-9]{2}:[0-9]{2}$ ]] || fail "time stamp '$stamp' at $2"
  printf '%s' "$stamp"
  printf '\xe3\x80\x80%s\r\n' "$3" | iconv -f UTF-8 -t CP932
}

events=(start normal abnormal cancel)
texts=(ダウンロード監視スタート 正常終了シャットダウン 異常終了シャットダウン ダウンロード監視キャンセル)
sizes=(47 45 45 49)

# Append creates the log, then adds one line per event.
for e in "${events[@]}"; do wine_run logtool.exe write "$e" append; done
[ "$(stat -c %s "$log")" = 186 ] || fail "log of $(stat -c %s "$log") bytes, not 47+45+45+49"
offset=0
for i in 0 1 2 3; do
  expect_line "$log" "$offset" "${texts[$i]}"
  offset=$((offset + sizes[i]))
done >"$E2E_DIR/expected.bin"
cmp "$log" "$E2E_DIR/expected.bin" || fail "log bytes differ"
[ "$(od -An -tx1 -j19 -N2 "$log" | tr -d ' ')" = 8140 ] || fail "separator is not U+3000 as 81 40"
echo "append: 4 lines of 47/45/45/49 bytes, Shift-JIS, CR LF, stamps YYYY/MM/DD HH:MM:SS"

# Read back: every line in the view, the last event found, scrolled.
out=$(wine_run logtool.exe read | tr -d '\r')
echo "read: $out"
[[ $out == "ok=1 last=cancel units=$((12 + 11 + 11 + 13 + 4 * 22)) lines=5 first="* ]] || fail "read back: $out"
iconv -f CP932 -t UTF-8 "$log" | cmp - "$E2E_DIR/view.txt" || fail "view text differs from the log"

# Overwrite leaves the start line alone; append then adds to it.
wine_run logtool.exe write start overwrite
[ "$(stat -c %s "$log")" = 47 ] || fail "overwrite left $(stat -c %s "$log") bytes"
expect_line "$log" 0 "${texts[0]}" | cmp - "$log" || fail "overwritten log differs"
wine_run logtool.exe write cancel append
[ "$(stat -c %s "$log")" = 96 ] || fail "append after overwrite: $(stat -c %s "$log") bytes"
out=$(wine_run logtool.exe read | tr -d '\r')
[[ $out == "ok=1 last=cancel "* ]] || fail "read after overwrite: $out"
echo "overwrite: one start line of 47 bytes; append then 96 bytes"

# A long log is scrolled to its end; a lone CR ends a line, a lone LF does not.
{
  for i in $(seq 1 40); do printf '2004/01/09 08:03:%02d\xe3\x80\x80ダウンロード監視スタート\r\n' $((i % 60)); done
  printf 'a\rb\nc\r\n'
} | iconv -f UTF-8 -t CP932 >"$log"
out=$(wine_run logtool.exe read | tr -d '\r')
echo "read: $out"
[[ $out =~ ^ok=1\ last=start\ units=[0-9]+\ lines=([0-9]+)\ first=([0-9]+)$ ]] || fail "long log: $out"
lines=${BASH_REMATCH[1]} first=${BASH_REMATCH[2]}
{ [ "$lines" -ge 42 ] && [ "$first" -ge $((lines - 12)) ]; } || fail "not scrolled to the end: first visible $first of $lines"
tail -c 10 "$E2E_DIR/view.txt" | od -An -c | tr -s ' '
[ "$(tail -c 8 "$E2E_DIR/view.txt" | od -An -tx1 | tr -d ' \n')" = 610d0a620a630d0a ] || fail "line ends in the view"
echo "scroll: first visible line $first of $lines; CR ends a line, LF does not"

# A lone LF breaks a line in the view, so it shows more lines than were read,
# and is still scrolled to its end; long lines stay whole (no word wrap).
{
  for i in $(seq 1 6); do printf '%0300d\r\n' "$i"; done
  for i in $(seq 1 30); do printf 'lf%d\n' "$i"; done
  printf '\r\n'
} >"$log"
out=$(wine_run logtool.exe read | tr -d '\r')
echo "read: $out"
[[ $out =~ ^ok=1\ last=none\ units=[0-9]+\ lines=([0-9]+)\ first=([0-9]+)$ ]] || fail "LF log: $out"
lines=${BASH_REMATCH[1]} first=${BASH_REMATCH[2]}
[ "$lines" = 38 ] || fail "the view shows $lines lines, not 6 whole long lines, 31 pieces split at LF and one empty"
[ "$first" -ge $((lines - 12)) ] || fail "not scrolled to the end: first visible $first of $lines"
echo "long lines and LF: 7 lines read, $lines shown, first visible line $first"

# Zero bytes, as a crash can leave them in a file, hide none of the lines
# after them: the real control shows the whole log, scrolled to its end.
{
  printf '2004/01/09 08:03:07\xe3\x80\x80ダウンロード監視スタート\r\n'
  head -c 512 /dev/zero
  printf '\r\n2004/01/09 09:00:00\xe3\x80\x80ダウンロード監視キャンセル\r\n'
} | iconv -f UTF-8 -t CP932 >"$log"
out=$(wine_run logtool.exe read | tr -d '\r')
echo "read: $out"
[[ $out == "ok=1 last=cancel units=$((34 + 514 + 35)) "* ]] || fail "log with zero bytes: $out"
tail -n 1 "$E2E_DIR/view.txt" | grep -q 'ダウンロード監視キャンセル' || fail "the line after the zero bytes is not in view"
echo "zero bytes: shown as spaces, the cancel line after them in view"

# No log: no error, empty view. A log that cannot be read: the error box.
rm -f "$log"
out=$(wine_run logtool.exe read | tr -d '\r')
[ "$out" = "ok=1 last=none units=0 lines=1 first=0" ] || fail "missing log: $out"
mkdir "$log"
out=$(wine_run logtool.exe read | tr -d '\r' || true)
echo "unreadable: $out"
[[ $out == *"box title=Read_Log style=16 text=75:パス名が無効です。"* && $out == *"ok=0 "* ]] || fail "unreadable log: $out"
rmdir "$log"
echo "missing log: no box; unreadable log: box 75 titled Read_Log"

# A log another program keeps locked refuses the line: error 70, the log stays.
wine_run logtool.exe write start overwrite
(cd "$E2E_DIR" && exec wine "$E2E_DIR/logtool.exe" hold >hold.out 2>/dev/null) &
holder=$!
for _ in $(seq 300); do
  grep -q holding hold.out 2>/dev/null && break
  sleep 0.1
done
grep -q holding hold.out || fail "the holder did not open the log"
out=$(wine_run logtool.exe write cancel append | tr -d '\r' || true)
kill "$holder" 2>/dev/null || true
[ "$out" = "error 70" ] || fail "locked log: '$out'"
[ "$(stat -c %s "$log")" = 47 ] || fail "locked log changed"
echo "locked log: error 70, nothing written"

# The time stamp takes the user's regional separators in place of / and :.
# They are put back however this ends, for the tests after this one.
restore_separators() { wine_run logtool.exe separators / : >/dev/null; }
trap restore_separators EXIT
wine_run logtool.exe separators . - | tr -d '\r' | grep -qx '/ :' || fail "separators before: not / and :"
wine_run logtool.exe write start overwrite
restore_separators
trap - EXIT
[ "$(stat -c %s "$log")" = 47 ] || fail "a line of $(stat -c %s "$log") bytes with other separators"
[[ $(head -c 19 "$log") =~ ^[0-9]{4}\.[0-9]{2}\.[0-9]{2}\ [0-9]{2}-[0-9]{2}-[0-9]{2}$ ]] || fail "stamp $(head -c 19 "$log")"
echo "regional separators: $(head -c 19 "$log")"

# In a drive's root folder the log sits right below it: P:\DownloadLog.txt.
mkdir -p "$E2E_DIR/root"
cp "$E2E_DIR/logtool.exe" "$E2E_DIR/root/"
ln -sfn "$E2E_DIR/root" "$WINEPREFIX/dosdevices/p:"
trap 'rm -f "$WINEPREFIX/dosdevices/p:"' EXIT
(cd "$E2E_DIR/root" && wine 'P:\logtool.exe' write start append)
[ "$(stat -c %s "$E2E_DIR/root/DownloadLog.txt")" = 47 ] || fail "no log in the root folder"
echo "root folder: P:\\DownloadLog.txt written"
echo "PASS"
