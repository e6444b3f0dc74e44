# Sourced by the icon tests: the program's icon as the pixel map
# res/pellory_icon.txt draws it, compared with what resource_console prints.

# The map as resource_console prints a drawn icon: its legend turns each
# character into a colour, or "." where the icon is transparent.
icon_map() {
  awk '
    /^#/ || NF == 0 { next }
    $2 == "=" && length($1) == 1 { colour[$1] = ($3 == "transparent") ? "." : tolower($3); next }
    {
      row = ""
      for (i = 1; i <= length($0); i++) row = row (i > 1 ? " " : "") colour[substr($0, i, 1)]
      print row
    }' "$PELLORY_ROOT/res/pellory_icon.txt"
}

# same_as_map DRAWN: true when DRAWN, the rows of a drawn icon, are the map
# exactly; otherwise prints the first differences.
same_as_map() {
  local expected
  expected=$(icon_map)
  [ "$1" = "$expected" ] && return 0
  echo "drawn icon differs from the map (expected < > drawn):"
  diff <(echo "$expected") <(echo "$1") | head -20 || true
  return 1
}

# window_icon_is_map CAPTION: true when the class icon of the window so
# captioned, drawn inside the window's own process, is the map exactly.
window_icon_is_map() {
  local drawn
  drawn=$(wine_run resource_console.exe window-icon "$1" | tr -d '\r') || { echo "$drawn"; return 1; }
  same_as_map "$drawn"
}
