# The watching presentation on a real window (shown by the mainwindow tool,
# which applies Set_WatchOn and carries the program's icon): caption and its
# blink, what is disabled and what stays usable; and a screenshot.
source "$PELLORY_ROOT/tests/e2e/icon_map.bash"
# The line of the control whose text is exactly $1.
control_line() { echo "$controls" | awk -v t="$1" '{ i = index($0, " text="); if (substr($0, i + 6) == t) print }'; }
on='●監視中 - Pellory'
off='○監視中 - Pellory'

# The tool shows the window with the program's own icon, as its screenshot does.
wine_start mainwindow.exe
drv wait '未監視 - Pellory' --timeout 20000 >/dev/null || fail "no idle window from the tool"
window_icon_is_map '未監視 - Pellory' || fail "the tool's window does not carry the program's icon"
drv close '未監視 - Pellory' >/dev/null
drv wait '未監視 - Pellory' --gone --timeout 10000 >/dev/null || fail "idle window still open"
echo "icon: the class icon draws the pixel map"

wine_start mainwindow.exe watching
drv wait "$on" --timeout 20000 >/dev/null || fail "no window captioned $on"
echo "caption: $on"
# The blink: the hollow circle next, then the filled one again.
drv wait "$off" --timeout 5000 >/dev/null || fail "caption never became $off"
drv wait "$on" --timeout 5000 >/dev/null || fail "caption never came back to $on"
echo "blink: $off, then $on"

controls=$(drv controls '監視中 - Pellory' --contains)
echo "$controls"
check() {  # text enabled checked
  line=$(control_line "$1")
  grep -q " enabled=$2 checked=$3 " <<<"$line" || fail "'$1': $line, expected enabled=$2 checked=$3"
  echo "ok '$1' enabled=$2 checked=$3"
}
check 'ログファイル出力' 0 0
check '前回のログに追加' 0 1
check '上書き出力' 0 0
check '見張り開始' 0 0
check 'キャンセル' 1 0
check '?' 1 0
check '...' 1 0
check '' 1 0
check 'ログファイル履歴' 1 0

# The user cannot start again or change the option; help stays usable.
set +e
drv click '監視中 - Pellory' '見張り開始' --contains >/dev/null; start=$?
drv click '監視中 - Pellory' '上書き出力' --contains >/dev/null; option=$?
set -e
{ [ "$start" = 3 ] && [ "$option" = 3 ]; } || fail "disabled controls took a click ($start, $option)"
drv click '監視中 - Pellory' '?' --contains >/dev/null || fail "help not usable while watching"
echo "start and options refuse clicks; help takes one"

drv close '監視中 - Pellory' --contains >/dev/null
drv wait '監視中 - Pellory' --contains --gone --timeout 10000 >/dev/null || fail "window still open"

desktop_shot pellory-watching "$E2E_RESULTS/main-watching.png" mainwindow.exe watching
echo "screenshot: $E2E_RESULTS/main-watching.png"
