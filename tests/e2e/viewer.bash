# Sourced by the help tests: takes the HTML Help viewer out of the prefix's
# system folders for a while, so that it cannot start. Whatever happens,
# viewer_back (in the script's EXIT trap) puts back what was moved, and a run
# killed before it could is mended when this file is next sourced.
viewer_candidates=("$WINEPREFIX/drive_c/windows/hh.exe" "$WINEPREFIX/drive_c/windows/system32/hh.exe")
viewer_back() {
  local viewer
  for viewer in "${viewer_candidates[@]}"; do
    if [ -f "$viewer.away" ] && [ ! -e "$viewer" ]; then mv "$viewer.away" "$viewer"; fi
  done
  return 0
}
viewer_back

viewer_files() { stat -c '%n %a %s %Y' "${viewers[@]}"; md5sum "${viewers[@]}"; }
# Moves every hh.exe of the system folders away.
hide_viewer() {
  viewers=()
  local viewer
  for viewer in "${viewer_candidates[@]}"; do [ -f "$viewer" ] && viewers+=("$viewer"); done
  [ "${#viewers[@]}" -gt 0 ] || fail "no hh.exe in the prefix's system folders"
  viewers_before=$(viewer_files)
  for viewer in "${viewers[@]}"; do mv "$viewer" "$viewer.away"; done
}
# Puts them back, as they were.
show_viewer() {
  viewer_back
  [ "$(viewer_files)" = "$viewers_before" ] || fail "hh.exe not put back as it was"
}
