# Sourced by scripts/e2e-test.sh for every end-to-end test script: the helpers
# each of them uses, defined once.

# Ends the test with its reason.
fail() { echo "FAIL: $*"; exit 1; }
# The desktop driver of the test folder (tools/driver.cpp), in the foreground.
drv() { wine_run driver.exe "$@"; }

# desktop_shot DESKTOP OUTPUT.png EXE [ARGS...]: starts a program of the test
# folder in a Wine virtual desktop of its own (so that windows get their
# frames), waits until a window covers the desktop's centre, and saves the
# desktop as a PNG. The program keeps running, a child of the test (under
# the WoW64 root a program ends with the process that started it); the
# session's end stops it. The size is one of Wine's display modes: Wine 10
# gives a virtual desktop of any other size the whole screen.
desktop_shot() {
  local desktop=$1 output=$2 width=640 height=480 pixel empty=""
  shift 2
  (cd "$E2E_DIR" && exec wine explorer "/desktop=$desktop,${width}x$height" "$@" >/dev/null 2>&1) &
  local centre="%[pixel:p{$((width / 2)),$((height / 2))}]"
  for _ in $(seq 60); do
    sleep 0.5
    import -window root -crop "${width}x$height+0+0" +repage "$output" 2>/dev/null || continue
    pixel=$(convert "$output" -format "$centre" info:)
    # The first picture that shows a desktop fixes its colour; a window changes it.
    [ -n "$empty" ] || empty=$(convert "$output" -format '%[pixel:p{2,2}]' info:)
    if [ "$pixel" != "$empty" ]; then
      sleep 0.5  # let it finish painting
      import -window root -crop "${width}x$height+0+0" +repage "$output"
      return 0
    fi
  done
  echo "no window appeared in desktop $desktop" >&2
  return 1
}
