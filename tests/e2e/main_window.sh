# The main window as the real exe shows it: every control where the layout
# puts it at the display's DPI, the idle presentation, the client size, the
# frame and where it first stands, the icon, tab order, the fixed size, help, closing
# while idle; and a screenshot.
caption='未監視 - Pellory'
source "$PELLORY_ROOT/tests/e2e/frame.bash"
source "$PELLORY_ROOT/tests/e2e/icon_map.bash"
# The line of the control whose text is exactly $1.
control_line() { echo "$controls" | awk -v t="$1" '{ i = index($0, " text="); if (substr($0, i + 6) == t) print }'; }

# name | text | in the frame | left top width height (twips) | enabled | checked
table='fraLog|ログファイル出力|0|120 120 4815 615|1|0
optLog(0)|前回のログに追加|1|120 240 1935 255|1|1
optLog(1)|上書き出力|1|2160 240 1935 255|1|0
cmdStart|見張り開始|0|2520 3360 1215 375|1|0
cmdCancel|キャンセル|0|3720 3360 1215 375|0|0
cmdHelp|?|0|4440 840 255 255|1|0
cmdAbout|...|0|4680 840 255 255|1|0
txtLog||0|120 1080 4815 2175|1|0
Label1|ログファイル履歴|0|120 840 1455 255|1|0'

# Starts the exe and checks the client area, tab order and every control
# against the table, converted at the DPI the display reports.
check_layout() {
  wine_start PelloryV2_0.exe
  drv wait "$caption" --timeout 20000 >/dev/null || fail "no window captioned $caption"
  dpi=$(drv dpi | sed 's/dpi=//')
  px() { echo $((($1 * dpi + 720) / 1440)); }  # twips to pixels, rounded as MulDiv does
  echo "display: $dpi dpi"

  frame=$(drv rect "$caption")
  client=$(echo "$frame" | sed -n 's/^client=//p')
  [ "$client" = "$(px 5040),$(px 3855)" ] || fail "client area $client, expected $(px 5040),$(px 3855)"
  echo "client area: $client pixels"
  # A sizable border with the system menu and a minimize button but no
  # maximize button, in the taskbar, first shown in the middle of the screen.
  grep -qx 'minbox=1 maxbox=0 sizable=1 sysmenu=1' <<<"$frame" || fail "frame: $frame"
  grep -qx 'appwindow=1' <<<"$frame" || fail "not in the taskbar: $frame"
  where=$(centred "$frame") || fail "not centred: $where"
  echo "frame: sizable, system menu, minimize and no maximize button, in the taskbar, centred"

  controls=$(drv controls "$caption")
  echo "$controls"
  [ "$(echo "$controls" | wc -l)" -eq 9 ] || fail "expected 9 controls"
  # Listed in z-order, which is the tab order: the frame with its options first.
  order=$(echo "$controls" | sed 's/.* text=//' | paste -sd'|')
  [ "$order" = "ログファイル出力|前回のログに追加|上書き出力|見張り開始|キャンセル|?|...||ログファイル履歴" ] ||
    fail "tab order $order"

  frame_left=$(px 120) frame_top=$(px 120)
  while IFS='|' read -r name text inside rect enabled checked; do
    read -r l t w h <<<"$rect"
    x=$(px "$l") y=$(px "$t")
    if [ "$inside" = 1 ]; then x=$((x + frame_left)) y=$((y + frame_top)); fi
    want="rect=$x,$y,$(px "$w"),$(px "$h")"
    line=$(control_line "$text")
    [ -n "$line" ] || fail "$name: no control with text '$text'"
    grep -q " $want " <<<"$line" || fail "$name: $line, expected $want"
    grep -q " enabled=$enabled " <<<"$line" || fail "$name: expected enabled=$enabled"
    grep -q " checked=$checked " <<<"$line" || fail "$name: expected checked=$checked"
    echo "ok $name: $want enabled=$enabled checked=$checked"
  done <<<"$table"
}

check_layout

# Its class icon, which the caption and the taskbar show, is the program's icon.
window_icon_is_map "$caption" || fail "the main window's class icon is not the program's icon"
echo "icon: the class icon draws the pixel map"

# The same layout at 120 dpi (12 twips to the pixel); the setting is
# read when a program starts, and put back for the tests after this one.
drv close "$caption" >/dev/null
drv wait "$caption" --gone --timeout 10000 >/dev/null || fail "window still open"
trap 'wine reg delete "HKCU\\Control Panel\\Desktop" /v LogPixels /f >/dev/null 2>&1 || true' EXIT
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 120 /f >/dev/null 2>&1
check_layout
[ "$dpi" = 120 ] || fail "display at $dpi dpi, not 120"
drv close "$caption" >/dev/null
drv wait "$caption" --gone --timeout 10000 >/dev/null || fail "window still open"
wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f >/dev/null 2>&1
wine_start PelloryV2_0.exe
drv wait "$caption" --timeout 20000 >/dev/null || fail "no window captioned $caption"

# A drag of the border, and a minimise and restore, leave the outer size.
size=$(drv rect "$caption" | sed -n 's/^window=[0-9-]*,[0-9-]*,//p')
read -r w h <<<"${size/,/ }"
# The window answers in its own time (a loaded machine is slow): poll.
outer() { drv rect "$caption" | sed -n 's/^window=[0-9-]*,[0-9-]*,//p'; }
settle() {
  local want=$1 got
  for _ in $(seq 20); do
    sleep 0.5
    got=$(outer)
    [ "$got" = "$want" ] && drv rect "$caption" | grep -q 'state=normal' && return 0
  done
  echo "$got"
  return 1
}
drv size "$caption" $((w + 60)) $((h + 45))
after=$(settle "$size") || fail "after a drag the size is $after, expected $size"
drv show "$caption" min
for _ in $(seq 20); do drv rect "$caption" | grep -q 'state=minimized' && break; sleep 0.5; done
drv rect "$caption" | grep -q 'state=minimized' || fail "not minimised"
drv show "$caption" restore
after=$(settle "$size") || fail "after restore the size is $after, expected $size"
echo "outer size kept at $size pixels"

# Help when the viewer cannot start (moved out of the system folders): no
# box of ours. The clicks are posted and handled in turn, so once the About
# window of the next click is up the help click has ended, its box shown if
# it had one.
source "$PELLORY_ROOT/tests/e2e/viewer.bash"
trap viewer_back EXIT
hide_viewer
drv click "$caption" '?' >/dev/null
if ! drv click "$caption" ... >/dev/null; then
  drv msgbox --title PelloryV2_0 --timeout 1000 >/dev/null && fail "help showed an error box"
  fail "the About button no longer takes a click after help"
fi
drv wait 'バージョン情報' --timeout 15000 >/dev/null || fail "no About window after help"
if drv msgbox --title PelloryV2_0 --timeout 1000 >/dev/null; then fail "help showed an error box"; fi
show_viewer
drv click 'バージョン情報' OK >/dev/null
drv wait 'バージョン情報' --gone --timeout 15000 >/dev/null || fail "the About window did not close"
drv find "$caption" >/dev/null || fail "window gone after help"
echo "help with the viewer missing: no error box"

# Closing while idle ends the program at once, without a question.
drv close "$caption" >/dev/null
drv wait "$caption" --gone --timeout 10000 >/dev/null || fail "window still open after close"
if drv msgbox --timeout 1000 >/dev/null; then fail "a box appeared on close"; fi
echo "closed while idle: gone, no box"

# The picture, with frames, in a virtual desktop of its own.
desktop_shot pellory-idle "$E2E_RESULTS/main-idle.png" PelloryV2_0.exe
echo "screenshot: $E2E_RESULTS/main-idle.png"
