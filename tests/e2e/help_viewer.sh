# "hh.exe PelloryV2_0.chm", as the help button runs it, opens the HTML Help
# viewer on our file: its window carries the file's Japanese title (read
# from the Shift-JIS project), which it shows only when the file loaded.
title="Pellory ヘルプ"
(cd "$E2E_DIR" && exec wine hh.exe PelloryV2_0.chm >/dev/null 2>&1) &
found=""
for _ in $(seq 60); do
  found=$(xwininfo -root -tree | grep -F "\"$title\": (\"hh.exe\"" || true)
  [ -n "$found" ] && break
  sleep 0.5
done
if [ -z "$found" ]; then
  echo "no viewer window titled \"$title\"; top-level windows:"
  xwininfo -root -tree | grep -v 'has no name' | head -20
  exit 1
fi
sleep 1
import -window root "$E2E_RESULTS/help_viewer.png"
echo "viewer window:$(printf '%s\n' "$found" | sed 's/^ *0x[0-9a-f]*//') (screenshot help_viewer.png)"
