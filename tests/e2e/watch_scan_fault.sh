# A scan that keeps failing while a watch runs: each tick that scans ends
# with the error box titled "tmrPellory_Timer", and while that box stays open
# no further tick runs, so no second box opens inside it, however long it
# stays. Once it is answered the poll goes on: the next tick scans, fails
# again and shows one box again. The scans are made to fail through the
# driver's scanfault: the code-page conversion the scan reads window texts
# with is made to report an impossible length, and the scan raises (51).
source "$(dirname "$0")/watch.bash"

BOX='tmrPellory_Timer'
# How many error boxes of the tick are open.
boxes() { drv list | grep -c " text=$BOX\$" || true; }
# The one box: its text, icon and button.
one_box() {
  local out
  out=$(drv msgbox --title "$BOX" --timeout "$POLL_WAIT") || fail "$1: no box titled $BOX"
  printf '%s\n' "$out" | sed 's/^/  /'
  [[ $out == *'text=51:'* && $out == *'icon=critical'* && $out == *'buttons=OK=1'* ]] || fail "$1: not the error box"
}

stage downloads <<'S'
window pr 40% 完了しました - data.zip
S
start_pellory
drv wait "$WATCHING" --timeout 30000 >/dev/null || fail "the watch did not start by itself"
echo "watching"

# Longer than a tick takes to come, and more than two poll periods: no second box.
only_one_box() {
  local start=$SECONDS
  while [ $((SECONDS - start)) -le $((2 * POLL_WAIT / 1000)) ]; do
    [ "$(boxes)" = 1 ] || fail "$1: $(boxes) error boxes open: a tick ran under the open box"
    sleep 1
  done
  echo "$1: one error box open for $((SECONDS - start)) s: no tick ran under it"
}

drv scanfault '監視中 - Pellory' --contains || fail "the scans could not be made to fail"
one_box first
only_one_box first
shot scan_fault
drv find '監視中 - Pellory' --contains >/dev/null || fail "the watch ended under the box"

first=$(drv find "$BOX")
drv msgbox --title "$BOX" --press 1 >/dev/null || fail "could not press OK"
# The next tick may open its box at once: the first box is gone when the
# window titled so is another one, or none.
for _ in $(seq 100); do
  [ "$(drv find "$BOX" --timeout 0 || true)" != "$first" ] && break
  sleep 0.1
done
[ "$(drv find "$BOX" --timeout 0 || true)" != "$first" ] || fail "the box did not close"
# The poll goes on: the next tick fails again, with one box again.
one_box next
only_one_box next
[ "$(log_lines | wc -l)" = 1 ] || fail "the log changed: $(log_lines)"
echo "answered: the next tick failed again with one box; the watch goes on"
echo "PASS"
