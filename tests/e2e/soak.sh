# Pellory watching for SOAK_SECONDS (default 60), counted from the moment the
# desktop is full, while another program creates, retitles and destroys
# SOAK_MAX_ALIVE (default 2,000; the benchmark 5,000) hidden windows and labels that
# carry only decoy texts, as fast as it can (one step a millisecond), next to
# a fixed set of dialogs: two downloads (a saving dialog and a progress
# caption) and one error box. Two downloads against one failure keep the
# watch going, and any miscount of one in the direction that would stop it
# (a download missed, or a failure too many) ends the watch at that tick; the
# other direction is caught by a console scan run over and over alongside.
# Checked throughout and at the end: every console scan finds exactly the
# fixed set, no message box, the caption still blinks, cancel is enabled,
# the log holds only the start; and Pellory's private memory at the end is
# within 10% of its value a minute after the desktop was full (a third of
# the time, in a short run).
source "$(dirname "$0")/watch.bash"

seconds=${SOAK_SECONDS:-60}
max_alive=${SOAK_MAX_ALIVE:-2000}  # bench/soak.sh holds 5,000
baseline=$((seconds >= 120 ? 60 : seconds / 3))
FIXED='active=2 failed=1 copying=0'

# The console scan must see the same desktop as Pellory.
WATCH_EXES+=(scan_console.exe)
wine reg add 'HKCU\Software\Wine\AppDefaults\scan_console.exe\Explorer' /v Desktop /d watch /f >/dev/null 2>&1

stage fixed <<'S'
window dl ファイルのダウンロード
child dl.l dl STATIC 保存しています: disk.iso
window pr 62% 完了しました - backup.zip
window err Microsoft Internet Explorer
child err.l err STATIC 処理がタイムアウトになりました
S
expect_scan "$FIXED" "the fixed set alone"

stage decoys <<S
decoys 20240611 $(((seconds + 200) * 1000)) 1 $max_alive
S
start_pellory
drv wait "$WATCHING" --timeout 60000 >/dev/null || fail "the watch did not start by itself"
started=$(date +%s)
echo "watching; decoys churn up to $max_alive windows alive"

# Private memory of the Unix process that runs Pellory, in kB.
unix_pid=$(program_pid "$PELLORY_PID" PelloryV2_0.exe) || fail "no process of $PELLORY_PID runs Pellory"
memory() { awk -v key="$1:" '$1 == key { print $2 }' "/proc/$unix_pid/status"; }

# One round of checks: Pellory runs, a console scan finds exactly the fixed
# set, no message box shows, and the caption is a watching one.
scans=0
check() {
  alive "$PELLORY_PID" || fail "Pellory ended after $(( $(date +%s) - started )) s"
  got=$(scan | head -n 1)
  scans=$((scans + 1))
  [ "$got" = "$FIXED" ] || fail "scan $scans found '$got'"
  if drv msgbox --timeout 0 >"$E2E_DIR/box.txt"; then cat "$E2E_DIR/box.txt"; fail "a message box appeared"; fi
  drv find '監視中 - Pellory' --contains --timeout 0 >/dev/null || fail "not watching after $scans scans"
}

# The desktop fills first (creations outweigh closes), as fast as the
# machine allows; the soak counts from then. Each round of checks starts
# three programs, which take the Wine server from the churn: while it fills,
# a round waits up to 2 s for the desktop to be full before the next.
until grep -q '^decoys full$' "$E2E_DIR/decoys.events"; do
  check
  (( $(date +%s) - started < 420 )) || fail "the desktop did not fill up to $max_alive windows in 420 s"
  for _ in $(seq 20); do grep -q '^decoys full$' "$E2E_DIR/decoys.events" && break; sleep 0.1; done
done
full_at=$(( $(date +%s) - started ))
echo "the desktop full after ${full_at} s of watching"
base_anon=
while (( $(date +%s) - started < full_at + seconds )); do
  check
  if [ -z "$base_anon" ] && (( $(date +%s) - started >= full_at + baseline )); then
    base_anon=$(memory RssAnon) base_rss=$(memory VmRSS) base_at=$(( $(date +%s) - started ))
    echo "memory after ${base_at} s: RssAnon ${base_anon} kB, VmRSS ${base_rss} kB"
  fi
done
duration=$(( $(date +%s) - started ))
end_anon=$(memory RssAnon) end_rss=$(memory VmRSS)
echo "ok: $scans console scans during the watch, each '$FIXED'; no box; still watching"

drv wait "$BLINKED" --timeout 5000 >/dev/null || fail "caption never became $BLINKED"
drv wait "$WATCHING" --timeout 5000 >/dev/null || fail "caption never came back to $WATCHING"
drv controls '監視中 - Pellory' --contains | grep -q 'enabled=1 .* text=キャンセル$' || fail "cancel not enabled"
[ "$(log_lines | wc -l)" = 1 ] || fail "the log holds more than the start: $(log_lines)"
echo "ok: caption blinks, cancel enabled, the log holds only the start"

# Not waited for: ending a program with thousands of windows takes Wine long.
touch "$E2E_DIR/decoys.events.stop"
wait_event decoys '^stopped$'
figures=$(grep '^decoys done' "$E2E_DIR/decoys.events")
peak=$(printf '%s\n' "$figures" | sed 's/.*peak=\([0-9]*\).*/\1/')
made=$(printf '%s\n' "$figures" | sed 's/.*made=\([0-9]*\).*/\1/')
echo "figures: duration=${duration}s full_after=${full_at}s pellory_ticks=$((duration / 5)) console_scans=$scans windows_alive_peak=$peak windows_made=$made"
echo "figures: memory RssAnon ${base_anon} kB at ${base_at} s, ${end_anon} kB at end; VmRSS ${base_rss} kB, ${end_rss} kB"
(( end_anon * 10 <= base_anon * 11 && end_anon * 10 >= base_anon * 9 )) ||
  fail "private memory moved more than 10%: $base_anon kB to $end_anon kB"
echo "PASS"
