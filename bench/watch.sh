#!/usr/bin/env bash
# CPU time of Pellory watching under Wine: 60 s of a watch over a desktop of
# 1,000 staged top-level windows (100 of them dialogs with 20 descendants
# each; more downloads than error boxes, so the watch goes on), beside 60 s
# of a bare window with one 1000 ms timer on the same desktop, measured in
# one run. The window functions of a scan are served by the wineserver, so
# its CPU time during each 60 s is given too.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${PELLORY_BUILD:-build}
seconds=${WATCH_BENCH_SECONDS:-60}
bash scripts/win-build.sh i686 PelloryV2_0 scan_timing imitation_dialogs timer_window >/dev/null

export PELLORY_WINE_DIR=$PWD/$build/bench-wine32 PELLORY_WINE_BITS=32
session=$PWD/scripts/wine-session.sh
bash "$session" start >/dev/null
trap 'bash "$session" stop >/dev/null' EXIT
source scripts/wine-env.sh
dir=$WINEPREFIX/drive_c/watch-bench
rm -rf "$dir" && mkdir -p "$dir"
for exe in PelloryV2_0 scan_timing imitation_dialogs timer_window; do cp "$build/win/$exe.exe" "$dir"/; done
cd "$dir"

# CPU time in clock ticks (user + system) of a process.
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)
# This session's wineserver: the one working in the server folder named
# after our prefix's device and inode.
server_key=server-$(printf '%x-%x' "$(stat -c %d "$WINEPREFIX")" "$(stat -c %i "$WINEPREFIX")")

wine scan_timing.exe script 1000 desktop.txt
echo 'hidden extra 45% 完了しました - extra.zip' >>desktop.txt  # one download more than error boxes
(exec wine imitation_dialogs.exe desktop.txt desktop.events >/dev/null 2>&1) &
for _ in $(seq 3000); do grep -q '^ready$' desktop.events 2>/dev/null && break; sleep 0.1; done
server=
for p in $(ps -eo pid=,comm= | awk '$2 ~ /^wineserver/ { print $1 }'); do
  [[ $(readlink "/proc/$p/cwd") == */"$server_key" ]] && server=$p
done
[ -n "$server" ] || { echo "no wineserver for $WINEPREFIX" >&2; exit 1; }

# measure PID EXE: CPU of the process running EXE, started as PID
# (proc_ticks), and of the server (server_ticks) over the period.
measure() {
  local p0 s0 p1 s1 unix
  unix=$(program_pid "$1" "$2")
  p0=$(ticks "$unix") s0=$(ticks "$server")
  sleep "$seconds"
  p1=$(ticks "$unix") s1=$(ticks "$server")
  proc_ticks=$((p1 - p0)) server_ticks=$((s1 - s0))
  kill "$1"
  wait "$1" 2>/dev/null || true
}
seconds_of() { echo "scale=2; $1 / $hz" | bc; }

(exec wine PelloryV2_0.exe >/dev/null 2>&1) &
pellory=$!
for _ in $(seq 300); do [ -s DownloadLog.txt ] && break; sleep 0.1; done
[ -s DownloadLog.txt ] || { echo "the watch did not start" >&2; exit 1; }
sleep 1
measure "$pellory" PelloryV2_0.exe
watch_proc=$proc_ticks watch_server=$server_ticks
[ "$(wc -l <DownloadLog.txt)" = 1 ] || { echo "the watch ended during the measurement" >&2; exit 1; }

(exec wine timer_window.exe >/dev/null 2>&1) &
bare=$!
sleep 3
measure "$bare" timer_window.exe
bare_proc=$proc_ticks bare_server=$server_ticks
touch desktop.events.stop

echo "Wine, ${seconds} s each, 1,000 staged top-level windows (2,000 more below 100 dialogs)"
printf '%-30s %10s %12s %10s\n' "" "process s" "wineserver s" "total s"
printf '%-30s %10s %12s %10s\n' "Pellory watching" "$(seconds_of "$watch_proc")" "$(seconds_of "$watch_server")" \
  "$(seconds_of $((watch_proc + watch_server)))"
printf '%-30s %10s %12s %10s\n' "bare window, 1000 ms timer" "$(seconds_of "$bare_proc")" "$(seconds_of "$bare_server")" \
  "$(seconds_of $((bare_proc + bare_server)))"
echo "ratio, process:      $(echo "scale=1; $watch_proc / ($bare_proc + ($bare_proc == 0))" | bc)"
echo "ratio, with server:  $(echo "scale=1; ($watch_proc + $watch_server) / ($bare_proc + $bare_server + ($bare_proc + $bare_server == 0))" | bc)"
echo "Pellory's share of one core while watching: $(echo "scale=2; 100 * ($watch_proc + $watch_server) / ($seconds * $hz)" | bc) %"
