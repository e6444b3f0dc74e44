# Sourced by the window tests: where a window first stands.

# centred RECT: RECT is the output of `driver rect`; true when the window's
# centre is within a pixel of the screen's (an odd difference in size leaves
# half a pixel either way). The screen is measured in Windows' pixels, as the
# window is: at 120 dpi Wine 10 makes them smaller than the X display's.
centred() {
  local x y w h sw sh
  read -r x y w h <<<"$(echo "$1" | sed -n 's/^window=//p' | tr , ' ')"
  read -r sw sh <<<"$(echo "$1" | sed -n 's/^screen=//p' | tr , ' ')"
  [ -n "$sw" ] || { echo "no screen size in the driver's rectangles"; return 1; }
  [ $(((2 * x + w - sw) ** 2)) -le 4 ] && [ $(((2 * y + h - sh) ** 2)) -le 4 ] && return 0
  echo "window at $x,$y, ${w}x$h on a ${sw}x$sh screen"
  return 1
}
