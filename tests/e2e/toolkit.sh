# The real toolkit through the probe and msgbox tools: the previous-instance
# test; modal show (the opener takes no input meanwhile, the modal form is
# owned and kept out of the taskbar, Show returns once it is unloaded);
# label mouse-up with its button; message boxes with their styles, default
# title and answers; a text box far beyond 32K characters.
drv() { wine_run driver.exe "$@"; }
fail() { echo "FAIL: $*"; exit 1; }
events="$E2E_DIR/probe.txt"

(cd "$E2E_DIR" && exec wine "$E2E_DIR/probe.exe" >"$events" 2>&1) &
drv wait Probe --timeout 20000 >/dev/null || fail "no probe window"
drv rect Probe | grep -q '^appwindow=1$' || fail "main form not in the taskbar"
second=$(wine_run probe.exe | tr -d '\r')
[ "$second" = PrevInstance ] || fail "a second probe did not see the first: $second"
echo "second instance: sees the first and ends"
drv click Probe 開く >/dev/null
drv wait モーダル --timeout 10000 >/dev/null || fail "modal form not shown"
drv rect Probe | grep -q '^enabled=0$' || fail "opener still takes input under the modal form"
modal=$(drv rect モーダル)
echo "$modal" | grep -q '^owner=0x' || fail "modal form has no owner"
echo "$modal" | grep -q '^appwindow=0$' || fail "modal form in the taskbar"
echo "$modal" | grep -q "^client=$(((4400 + 7) / 15)),$(((2200 + 7) / 15))$" || fail "modal client area: $modal"
echo "modal form: owned, out of the taskbar, opener disabled"

for button in 2 4 1; do drv mouseup モーダル リンク $button >/dev/null; done
drv click モーダル OK >/dev/null
drv wait モーダル --gone --timeout 10000 >/dev/null || fail "OK did not unload the modal form"
drv rect Probe | grep -q '^enabled=1$' || fail "opener still disabled after the modal form"
for _ in $(seq 50); do grep -q 'Show returned' "$events" && break; sleep 0.2; done
expected='modal Show
modal Activate
modal MouseUp 2 2
modal MouseUp 2 4
modal MouseUp 2 1
modal Click 1
modal Unload
modal Show returned'
[ "$(tr -d '\r' <"$events")" = "$expected" ] || { cat "$events"; fail "events out of order"; }
echo "events: mouse-up with buttons 2, 4, 1; Show returned after Unload"
drv close Probe >/dev/null
drv wait Probe --gone --timeout 10000 >/dev/null || fail "probe still open"

# Message boxes: style, default title, the answer that comes back.
# style; icon; buttons as listed; the button pressed; the answer
for case in '16;critical;OK=1;OK;1' '48;warning;OK=1;OK;1' '292;question;はい(Y)=6|いいえ(N)=7;いいえ;7' '0;none;OK=1;OK;1'; do
  IFS=';' read -r style icon buttons press answer <<<"$case"
  (cd "$E2E_DIR" && exec wine "$E2E_DIR/msgbox.exe" "$style" '監視をキャンセルしますか' >"answer$style.txt" 2>&1) &
  box=$(drv msgbox --timeout 10000 --press "$press") || fail "style $style: no box"
  echo "$box" | grep -qx 'title=PelloryV2_0' || fail "style $style: $box"
  echo "$box" | grep -qx 'text=監視をキャンセルしますか' || fail "style $style: $box"
  echo "$box" | grep -qx "icon=$icon" || fail "style $style: $box"
  echo "$box" | grep -qxF "buttons=$buttons" || fail "style $style: $box"
  wait $!
  grep -qx "answer=$answer" <(tr -d '\r' <"$E2E_DIR/answer$style.txt") || fail "style $style: answer $(cat "$E2E_DIR/answer$style.txt")"
  echo "box style $style: icon $icon, answered $answer"
done

# The text box has no 32K cap: 40000 log lines (1.36 million characters) go
# in and come back whole.
(cd "$E2E_DIR" && exec wine "$E2E_DIR/probe.exe" 40000 >"$E2E_DIR/big.txt" 2>&1) &
for _ in $(seq 120); do grep -q read "$E2E_DIR/big.txt" && break; sleep 0.5; done
grep -qx 'set=1360000 read=1360000' <(tr -d '\r' <"$E2E_DIR/big.txt") || fail "text box: $(cat "$E2E_DIR/big.txt")"
echo "text box: 1360000 characters set and read back"
drv close Probe >/dev/null
