# The About window of the real exe: opened modally by the About button with
# the main window taking no input meanwhile; its frame and icon, every control's
# rectangle, font and colour against the layout; the focus on OK; Escape and
# the right and middle buttons do nothing (a recording mail handler sees only
# the left release that follows them); OK closes it and a reopen shows the
# same texts; and a screenshot.
main='未監視 - Pellory'
about='バージョン情報'
source "$PELLORY_ROOT/tests/e2e/frame.bash"
source "$PELLORY_ROOT/tests/e2e/icon_map.bash"
record="$E2E_DIR/recorder.txt"
# A recording mail handler shows each "mailto:" the shell was asked to open.
trap 'wine reg delete "HKCR\\mailto\\shell\\open\\command" /ve /f >/dev/null 2>&1 || true' EXIT
wine reg add 'HKCR\mailto\shell\open\command' /ve /d "\"$E2E_WIN\\recorder.exe\" \"%1\"" /f >/dev/null 2>&1
rm -f "$record"
control_line() { echo "$controls" | awk -v t="$1" '{ i = index($0, " text="); if (substr($0, i + 6) == t) print }'; }

# name | text | left top width height (twips) | font face | centipoints | bold | underline | charset | colour
table='Label1|Pellory|120 600 4215 375|ＭＳ ゴシック|1800|1|0|128|000080
CmdOk|OK|4080 2160 1215 495|Times New Roman|1200|1|0|0|000000
Label2|Pellory 2026|3120 1080 2055 255|ＭＳ Ｐゴシック|1125|1|0|128|000000
Label3|Ver.2.0|4440 720 975 255|ＭＳ Ｐゴシック|1125|1|0|128|000000
lblURL|https://pellory.example/|360 1680 4095 255|ＭＳ Ｐゴシック|900|0|1|128|0000ff
lblMail|support@pellory.example|360 2040 2055 255|default|0|0|0|0|0000ff
Label5|Internet Explorer用ダウンロード終了監視ソフト|120 120 5295 255|ＭＳ ゴシック|975|1|0|128|000080'

open_about() {
  drv click "$main" ... >/dev/null || fail "About button not usable"
  drv wait "$about" --timeout 10000 >/dev/null || fail "no About window"
  sleep 1  # let it paint
}

wine_start PelloryV2_0.exe
drv wait "$main" --timeout 20000 >/dev/null || fail "no main window"
dpi=$(drv dpi | sed 's/dpi=//')
px() { echo $((($1 * dpi + 720) / 1440)); }
open_about

# Modal: the main window takes no clicks while the About window is open.
drv rect "$main" | grep -qx 'enabled=0' || fail "main window still takes input"
for button in 見張り開始 '?' ...; do
  if drv click "$main" "$button" >/dev/null; then fail "main window's $button took a click"; fi
done
echo "modal: the main window takes no clicks"

frame=$(drv rect "$about")
grep -qx "client=$(px 5520),$(px 2775)" <<<"$frame" || fail "client area: $frame"
grep -qx 'minbox=0 maxbox=0 sizable=0 sysmenu=1' <<<"$frame" || fail "frame: $frame"
grep -qx 'appwindow=0' <<<"$frame" || fail "in the taskbar: $frame"
where=$(centred "$frame") || fail "not centred: $where"
echo "frame: client $(px 5520)x$(px 2775), fixed, no minimize or maximize, not in the taskbar, centred"
window_icon_is_map "$about" || fail "the About window's class icon is not the program's icon"
echo "icon: the class icon draws the pixel map"

controls=$(drv controls "$about")
[ "$(echo "$controls" | wc -l)" -eq 7 ] || fail "expected 7 controls: $controls"
order=$(echo "$controls" | sed 's/.* text=//' | paste -sd'|')
[ "$order" = "Pellory|OK|Pellory 2026|Ver.2.0|https://pellory.example/|support@pellory.example|Internet Explorer用ダウンロード終了監視ソフト" ] ||
  fail "tab order $order"
while IFS='|' read -r name text rect face points bold underline charset colour; do
  read -r l t w h <<<"$rect"
  want="rect=$(px "$l"),$(px "$t"),$(px "$w"),$(px "$h")"
  line=$(control_line "$text")
  [ -n "$line" ] || fail "$name: no control with text '$text'"
  grep -q " $want " <<<"$line" || fail "$name: $line, expected $want"
  # The text as the window shows it, against the same text drawn in the
  # table's font and colour: every pixel of the text's colour the same.
  glyphs=$(drv glyphs "$about" "$text" "$face" "$points" "$bold" "$underline" "$charset" "$colour")
  grep -q ' differences=0 ' <<<"$glyphs" || fail "$name: $glyphs"
  grep -q '^live=0 ' <<<"$glyphs" && fail "$name: no pixel of colour $colour"
  echo "ok $name: $want, $face $points bold=$bold underline=$underline colour=$colour (${glyphs%% box*})"
done <<<"$table"

# The same comparison with a font or colour off by one property must fail,
# or the check above proves nothing.
for wrong in 'Pellory|ＭＳ ゴシック|1800|0|0|128|000080' 'Pellory|ＭＳ ゴシック|1800|1|0|128|0000ff' \
  'https://pellory.example/|ＭＳ Ｐゴシック|900|0|0|128|0000ff' 'OK|Times New Roman|1000|1|0|0|000000' \
  'Internet Explorer用ダウンロード終了監視ソフト|ＭＳ Ｐゴシック|975|1|0|128|000080'; do
  IFS='|' read -r text face points bold underline charset colour <<<"$wrong"
  glyphs=$(drv glyphs "$about" "$text" "$face" "$points" "$bold" "$underline" "$charset" "$colour")
  if grep -q ' differences=0 ' <<<"$glyphs" && ! grep -q '^live=0 ' <<<"$glyphs"; then
    fail "a wrong font or colour matched: $wrong"
  fi
done
echo "a font or colour off by one property does not match"

# The fonts as the toolkit made them, read back in-process: face, height at
# this dpi, weight, underline, character set.
fonts=$(wine_run aboutfonts.exe | tr -d '\r')
echo "$fonts"
h() { echo $((-($1 * dpi + 3600) / 7200)); }
expected="Label1 face=ＭＳ ゴシック height=$(h 1800) weight=700 underline=0 charset=128
CmdOk face=Times New Roman height=$(h 1200) weight=700 underline=0 charset=0
Label2 face=ＭＳ Ｐゴシック height=$(h 1125) weight=700 underline=0 charset=128
Label3 face=ＭＳ Ｐゴシック height=$(h 1125) weight=700 underline=0 charset=128
lblURL face=ＭＳ Ｐゴシック height=$(h 900) weight=400 underline=1 charset=128
Label5 face=ＭＳ ゴシック height=$(h 975) weight=700 underline=0 charset=128"
[ "$(echo "$fonts" | grep -v '^lblMail ')" = "$expected" ] || fail "fonts differ from the layout"

# Focus on OK; Escape, and the right and middle buttons over the links, do
# nothing. A left release on the mail label is handled after them: once its
# mail handler has run, whatever they had brought would show by now.
drv focus "$about" | grep -qx 'focus=Button text=OK' || fail "focus: $(drv focus "$about")"
drv key "$about" escape >/dev/null
for button in 2 4; do
  drv mouseup "$about" 'https://pellory.example/' $button >/dev/null
  drv mouseup "$about" 'support@pellory.example' $button >/dev/null
done
drv mouseup "$about" 'support@pellory.example' 1 >/dev/null
for _ in $(seq 100); do [ -s "$record" ] && break; sleep 0.1; done
[ "$(tr -d '\r' <"$record" 2>/dev/null)" = "mailto:support@pellory.example" ] ||
  fail "mail handler runs: '$(cat "$record" 2>/dev/null)', expected the left release's only"
drv find "$about" >/dev/null || fail "Escape or a right or middle release closed the window"
[ "$(drv list | grep -c 'class=IEFrame')" = 0 ] || fail "a right or middle release opened a browser"
if drv msgbox --timeout 1000 >/dev/null; then fail "a box appeared"; fi
echo "focus on OK; Escape, right and middle releases: nothing"

# OK closes it; the main window takes input again in its former state; a
# reopen shows the same texts.
drv click "$about" OK >/dev/null
drv wait "$about" --gone --timeout 10000 >/dev/null || fail "OK did not close the window"
drv rect "$main" | grep -qx 'enabled=1' || fail "main window still disabled"
drv find "$main" >/dev/null || fail "main window caption changed"
before=$(drv controls "$main")
open_about
[ "$(drv controls "$about")" = "$controls" ] || fail "reopened with other texts or places"
drv click "$about" OK >/dev/null
drv wait "$about" --gone --timeout 10000 >/dev/null || fail "OK did not close the reopened window"
[ "$(drv controls "$main")" = "$before" ] || fail "main window changed"
echo "OK closes it; reopened with the same texts; main window as before"
drv close "$main" >/dev/null
drv wait "$main" --gone --timeout 10000 >/dev/null || fail "main window still open"
[ "$(grep -c . "$record")" = 1 ] || fail "the mail handler ran late: $(cat "$record")"

# The picture, with frames, in a virtual desktop of its own; the driver runs
# in that desktop to open the window. It is sent there by a setting for
# driver.exe rather than started by that desktop's explorer, which would give
# a console program (Wine 10) a console window over the picture; the setting
# goes again before anything can fail.
desktop=pellory-about
desktop_shot "$desktop" "$E2E_RESULTS/about.png" PelloryV2_0.exe
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v "$desktop" /d 640x480 /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\AppDefaults\driver.exe\Explorer' /v Desktop /d "$desktop" /f >/dev/null 2>&1
opened=0
drv click "$main" ... >/dev/null && drv wait "$about" --timeout 10000 >/dev/null && opened=1
wine reg delete 'HKCU\Software\Wine\AppDefaults\driver.exe' /f >/dev/null 2>&1
[ "$opened" = 1 ] || fail "no About window in the desktop"
sleep 1
import -window root -crop 640x480+0+0 +repage "$E2E_RESULTS/about.png"
echo "screenshot: $E2E_RESULTS/about.png"
