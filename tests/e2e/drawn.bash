# Sourced by tests/e2e/watch_normal_end.sh and scripts/demo.sh: a picture of
# the main window during the 5 s wait before a shutdown, taken once the
# window is seen drawn. The shutdown caption is on the screen before the
# window's paint is: a picture taken the moment the caption changes can still
# show the watching window under it.

# Needs drv, the desktop driver (tools/driver.cpp), printing its answers, and
# asks it for the system DPI once, here, not in the hurry of the wait.
DRAWN_DPI=$(drv dpi | sed 's/dpi=//')
# Twips to pixels at the system DPI, rounded as the layout converts them.
drawn_px() { echo $((($1 * DRAWN_DPI + 720) / 1440)); }

# Dark pixels (text, edges, not the face colours) of picture $1 inside a
# rectangle of the client area, in twips as the layout gives it; $2 is the
# driver's rectangles of the window.
dark_pixels() {  # picture frame left top width height
  local x y w h cw ch border
  IFS=, read -r x y w h <<<"$(sed -n 's/^window=//p' <<<"$2")"
  IFS=, read -r cw ch <<<"$(sed -n 's/^client=//p' <<<"$2")"
  border=$(((w - cw) / 2))
  convert "$1" -crop "$(drawn_px "$5")x$(drawn_px "$6")+$((x + border + $(drawn_px "$3")))+$((y + h - border - ch + $(drawn_px "$4")))" +repage \
    -colorspace Gray -threshold 50% -format '%[fx:round((1-mean)*w*h)]' info:
}

# End lines in the log file $1 (Shift-JIS): the program writes one right
# after the wait.
end_lines_in() { iconv -f CP932 -t UTF-8 "$1" | tr -d '\r' | grep -c 'シャットダウン$' || true; }

# drawn_during_wait CAPTION LOG PICTURE SHOOT...: once the window captioned
# CAPTION is in its normal state, runs `SHOOT... FILE.png` again and again
# until a picture shows the start button's text and edges and the log view's
# lines; keeps that picture as PICTURE. A picture taken before the log file
# LOG has a new end line was taken during the wait; once the line is there,
# the wait is over and the window was never seen drawn: false, with the
# reason in DRAWN_WHY. DRAWN_FRAME is the driver's rectangles of the window;
# DRAWN_SAID says what the kept picture shows.
drawn_during_wait() {
  local caption=$1 log=$2 picture=$3 button=0 view=0 pictures=0 ends
  shift 3
  local new="${picture%.png}-new.png"
  ends=$(end_lines_in "$log")
  for ((;;)); do
    DRAWN_FRAME=$(drv rect "$caption") || {
      DRAWN_WHY="the shutdown caption went before the window was restored"
      return 1
    }
    grep -qx 'state=normal' <<<"$DRAWN_FRAME" && break
  done
  for ((;;)); do
    "$@" "$new"
    [ "$(end_lines_in "$log")" = "$ends" ] || break
    mv "$new" "$picture"
    pictures=$((pictures + 1))
    button=$(dark_pixels "$picture" "$DRAWN_FRAME" 2520 3360 1215 375)
    view=$(dark_pixels "$picture" "$DRAWN_FRAME" 120 1080 4815 2175)
    if ((button >= 40 && view >= 40)); then
      # shellcheck disable=SC2034  # read by the caller
      DRAWN_SAID="$button dark pixels in the start button, $view in the log view"
      return 0
    fi
  done
  rm -f "$new"
  # shellcheck disable=SC2034  # read by the caller
  DRAWN_WHY="the window was not drawn during the wait: $pictures screenshots, the last with $button dark pixels in the start button, $view in the log view ($picture)"
  return 1
}
