#!/usr/bin/env bash
# How fast the log view takes a big log under Wine, measured side by side in
# one run: the edit control alone (WM_SETTEXT, scroll, paint) with word wrap
# and without it (the main window's style), for logs of 1, 10, 20 and 100 MB
# of ordinary lines (LOG_VIEW_MB picks the sizes), and for one line of
# 100,000 letters; then the whole Read_Log (decode, view, scroll) of the
# same logs by logtool.exe, wall-clock.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${PELLORY_BUILD:-build}
sizes=${LOG_VIEW_MB:-1 10 20 100}
bash scripts/win-build.sh i686 edit_timing logtool >/dev/null

export PELLORY_WINE_DIR=$PWD/$build/bench-wine32 PELLORY_WINE_BITS=32
session=$PWD/scripts/wine-session.sh
bash "$session" start >/dev/null
trap 'bash "$session" stop >/dev/null' EXIT
source scripts/wine-env.sh
dir=$WINEPREFIX/drive_c/log-view-bench
rm -rf "$dir" && mkdir -p "$dir"
cp "$build/win/edit_timing.exe" "$build/win/logtool.exe" "$dir"/
cd "$dir"

field() { sed -n "s/.*$1=\([0-9.]*\).*/\1/p" <<<"$2" | head -1; }
echo "edit control alone: units, seconds with wrap, seconds without, ratio, lines, peak MB without wrap"
for mb in $sizes; do
  units=$((mb * 1000000 * 34 / 47))  # a 47-byte log line is 34 units in the view
  a=$(wine edit_timing.exe log "$units" wrap | tr -d '\r' | tr '\n' ' ')
  b=$(wine edit_timing.exe log "$units" nowrap | tr -d '\r' | tr '\n' ' ')
  ta=$(echo "$(field settext "$a") + $(field scroll "$a") + $(field paint "$a")" | bc)
  tb=$(echo "$(field settext "$b") + $(field scroll "$b") + $(field paint "$b")" | bc)
  echo "  ${mb} MB log: $units units, wrap ${ta} s ($(field chars_per_s "$a") units/s)," \
    "no wrap ${tb} s ($(field chars_per_s "$b") units/s), ratio $(echo "scale=2; $ta / $tb" | bc)," \
    "lines $(field lines "$b"), peak $(field peak_mb "$b") MB"
done
a=$(wine edit_timing.exe long 100000 wrap | tr -d '\r' | tr '\n' ' ')
b=$(wine edit_timing.exe long 100000 nowrap | tr -d '\r' | tr '\n' ' ')
echo "  one line of 100,000 letters: wrap $(field settext "$a") s, no wrap $(field settext "$b") s"

echo "Read_Log into a view without wrap (logtool read), wall-clock:"
line=$(printf '2004/01/09 08:03:07\xe3\x80\x80ダウンロード監視スタート\r\n' | iconv -f UTF-8 -t CP932)
for mb in $sizes; do
  count=$((mb * 1000000 / 47))
  { yes "$line" || true; } | head -n "$count" >DownloadLog.txt  # $line ends in CR; yes adds the LF; yes ends by SIGPIPE
  start=$(date +%s.%N)
  out=$(wine logtool.exe read | tr -d '\r')
  end=$(date +%s.%N)
  s=$(echo "$end - $start" | bc)
  echo "  ${mb} MB: $(stat -c %s DownloadLog.txt) bytes in ${s} s," \
    "$(echo "scale=0; $(field units "$out") / $s" | bc) units/s; $out"
done
