# The real toolkit through the probe and msgbox tools: the previous-instance
# test; Activate once for each form shown and for the opener when a modal form
# has gone, none when the program comes back from another program's window;
# modal show (the opener takes no input meanwhile, the modal form is
# owned and kept out of the taskbar, Show returns once it is unloaded);
# label mouse-up with its button; message boxes with their styles, default
# title and answers; a text box far beyond 32K characters.
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
grep -q '^owner=0x' <<<"$modal" || fail "modal form has no owner"
grep -q '^appwindow=0$' <<<"$modal" || fail "modal form in the taskbar"
grep -q "^client=$(((4400 + 7) / 15)),$(((2200 + 7) / 15))$" <<<"$modal" || fail "modal client area: $modal"
echo "modal form: owned, out of the taskbar, opener disabled"

for button in 2 4 1; do drv mouseup モーダル リンク $button >/dev/null; done
drv click モーダル OK >/dev/null
drv wait モーダル --gone --timeout 10000 >/dev/null || fail "OK did not unload the modal form"
drv rect Probe | grep -q '^enabled=1$' || fail "opener still disabled after the modal form"

# Minimised beside another program's box, then restored: activated again by
# the system, with no other form of ours active meanwhile, so no Activate.
# Had one come, it would stand before the next modal form's lines, which
# follow it in the queue.
foreground() { drv rect Probe | tr -d '\r' | sed -n 's/^foreground=//p'; }
(cd "$E2E_DIR" && exec wine "$E2E_DIR/msgbox.exe" 0 'よそのプログラム' >/dev/null 2>&1) &
drv msgbox --timeout 10000 >/dev/null || fail "no box of another program"
drv show Probe min
for _ in $(seq 50); do [ "$(foreground)" = 0 ] && break; sleep 0.2; done
[ "$(foreground)" = 0 ] || fail "the probe kept the foreground, minimised beside another program's box"
drv show Probe restore
for _ in $(seq 50); do [ "$(foreground)" = 1 ] && break; sleep 0.2; done
[ "$(foreground)" = 1 ] || fail "the probe did not come back to the foreground"
drv click Probe 開く >/dev/null
drv wait モーダル --timeout 10000 >/dev/null || fail "modal form not shown again"
drv click モーダル OK >/dev/null
drv wait モーダル --gone --timeout 10000 >/dev/null || fail "OK did not unload the modal form again"
drv msgbox --press OK >/dev/null || fail "the other program's box did not take OK"
for _ in $(seq 50); do [ "$(grep -c 'main Activate' "$events")" = 3 ] && break; sleep 0.2; done
once='modal Show
modal Activate
modal MouseUp 2 2
modal MouseUp 2 4
modal MouseUp 2 1
modal Click 1
modal Unload
modal Show returned
main Activate'
again='modal Show
modal Activate
modal Click 1
modal Unload
modal Show returned
main Activate'
expected="main Activate
$once
$again"
[ "$(tr -d '\r' <"$events")" = "$expected" ] || { cat "$events"; fail "events out of order"; }
echo "events: Activate at the first show and after each modal form, none on a restore beside another program; mouse-up with buttons 2, 4, 1; Show returned after Unload"
drv close Probe >/dev/null
drv wait Probe --gone --timeout 10000 >/dev/null || fail "probe still open"

# Message boxes: style, default title, the answer that comes back.
# style; icon; buttons as listed; the button pressed; the answer
for case in '16;critical;OK=1;OK;1' '48;warning;OK=1;OK;1' '292;question;はい(Y)=6|いいえ(N)=7;いいえ;7' '0;none;OK=1;OK;1'; do
  IFS=';' read -r style icon buttons press answer <<<"$case"
  (cd "$E2E_DIR" && exec wine "$E2E_DIR/msgbox.exe" "$style" '監視をキャンセルしますか' >"answer$style.txt" 2>&1) &
  box=$(drv msgbox --timeout 10000 --press "$press") || fail "style $style: no box"
  grep -qx 'title=PelloryV2_0' <<<"$box" || fail "style $style: $box"
  grep -qx 'text=監視をキャンセルしますか' <<<"$box" || fail "style $style: $box"
  grep -qx "icon=$icon" <<<"$box" || fail "style $style: $box"
  grep -qxF "buttons=$buttons" <<<"$box" || fail "style $style: $box"
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

# The toolkit's default font under a larger text setting (the user's message
# font made bigger, the DPI unchanged): the message font's face, at the size
# the layout's rectangles were drawn for, 9 pt at the display's DPI, so that
# every caption that fits at the usual setting still fits. The setting is
# read when a program starts; the usual one is put back for the tests after.
metrics='HKCU\Control Panel\Desktop\WindowMetrics'
usual_font=$( (wine reg query "$metrics" /v MessageFont 2>/dev/null || true) | tr -d '\r' | awk '$1 == "MessageFont" { print $3 }')
if [ -n "$usual_font" ]; then
  trap 'wine reg add "$metrics" /v MessageFont /t REG_BINARY /d "$usual_font" /f >/dev/null 2>&1 || true' EXIT
else
  trap 'wine reg delete "$metrics" /v MessageFont /f >/dev/null 2>&1 || true' EXIT
fi
usual=$(wine_run aboutfonts.exe fit | tr -d '\r')
echo "$usual"
# A LOGFONTW: height, width, escapement, orientation, weight, eight bytes
# (italic .. pitch; charset Shift-JIS), then the face in UTF-16.
large=$(python3 -c "import struct; print((struct.pack('<5l8B', -24, 0, 0, 0, 400, 0, 0, 0, 128, 0, 0, 0, 0)
  + 'Tahoma'.encode('utf-16-le').ljust(64, b'\0')).hex())")
wine reg add "$metrics" /v MessageFont /t REG_BINARY /d "$large" /f >/dev/null 2>&1
fitted=$(wine_run aboutfonts.exe fit | tr -d '\r')
echo "$fitted"
dpi=$(drv dpi | sed 's/dpi=//')
height=$((-(900 * dpi + 3600) / 7200))
[ "$(echo "$fitted" | wc -l)" = "$(echo "$usual" | wc -l)" ] || fail "not the same controls in the default font"
while read -r name rest; do
  grep -q "^face=Tahoma height=$height " <<<"$rest" || fail "$name: not the message font's face at 9 pt: $rest"
  if grep -q "^$name .* fits=1$" <<<"$usual"; then
    grep -q ' fits=1$' <<<"$rest" || fail "$name: its caption no longer fits: $rest"
  fi
done <<<"$fitted"
echo "larger text setting: the message font's face at $height pixels; every caption that fitted still fits"

# The first show honours how the program was started, as a shortcut's run
# settings "最小化" and "最大化" ask; restored, the window has its own client
# size, which the fixed-size rule keeps.
main='未監視 - Pellory'
px() { echo $((($1 * dpi + 720) / 1440)); }
state_is() {
  for _ in $(seq 40); do drv rect "$main" | grep -qx "state=$1" && return 0; sleep 0.25; done
  return 1
}
for run in min:minimized max:maximized; do
  (cd "$E2E_DIR" && wine start "/${run%%:*}" PelloryV2_0.exe >/dev/null 2>&1)
  drv wait "$main" --timeout 20000 >/dev/null || fail "no main window"
  state_is "${run#*:}" || fail "started /${run%%:*}: $(drv rect "$main" | grep state=)"
  drv show "$main" restore
  state_is normal || fail "not restored"
  drv rect "$main" | grep -qx "client=$(px 5040),$(px 3855)" || fail "restored at $(drv rect "$main" | grep client=)"
  drv close "$main" >/dev/null
  drv wait "$main" --gone --timeout 10000 >/dev/null || fail "window still open"
  echo "started /${run%%:*}: first shown ${run#*:}, restored at its own size"
done
