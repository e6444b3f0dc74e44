# The About window's links on the real exe: a left release on the mail label
# makes the shell open "mailto:" and the address (seen by a recording mail
# handler registered in this prefix), and does nothing while a window of
# class "ATH_Note" is open; a left release on the home-page label opens one
# browser window ("IEFrame") showing the page's address, and does nothing
# while such a window is open; no box of ours either way.
main='未監視 - Pellory'
about='バージョン情報'
url='https://pellory.example/'
mail='support@pellory.example'
record="$E2E_DIR/recorder.txt"
ie_count() { drv list | grep -c 'class=IEFrame' || true; }
# Closes a staged window and waits until its program has ended.
unstage() {
  drv close "$1" >/dev/null
  wait "$2" 2>/dev/null || true
  drv wait "$1" --gone --timeout 1000 >/dev/null || fail "$1 still open"
}
no_box() { if drv msgbox --timeout 1500 >/dev/null; then fail "a box appeared: $1"; fi; }

trap 'wine reg delete "HKCR\\mailto\\shell\\open\\command" /ve /f >/dev/null 2>&1 || true' EXIT
wine reg add 'HKCR\mailto\shell\open\command' /ve /d "\"$E2E_WIN\\recorder.exe\" \"%1\"" /f >/dev/null 2>&1
rm -f "$record"

wine_start PelloryV2_0.exe
drv wait "$main" --timeout 20000 >/dev/null || fail "no main window"
drv click "$main" ... >/dev/null
drv wait "$about" --timeout 10000 >/dev/null || fail "no About window"

# A release on one label is handled only after those posted before it: once
# its action is seen, an action the earlier release had brought would be seen
# too. So each "nothing" is checked after the next link's action.
records() { grep -c . "$record" 2>/dev/null || true; }
wait_records() {  # count what
  for _ in $(seq 100); do [ "$(records)" -ge "$1" ] && break; sleep 0.1; done
  [ "$(records)" -ge "$1" ] || fail "$2: the mail handler was not run; windows: $(drv list --contains '')"
  [ "$(records)" = "$1" ] || fail "$2: the mail handler ran $(records) times: $(cat "$record")"
  [ "$(tail -n 1 "$record" | tr -d '\r')" = "mailto:$mail" ] || fail "$2: the mail handler got: '$(cat "$record")'"
}
# Waits for our one browser window to show the home page; sets browser.
wait_browser() {
  local address=""
  browser=""
  for _ in $(seq 60); do
    [ "$(ie_count)" -le 1 ] || fail "more than one browser window opened: $(drv list)"
    browser=$(drv list | sed -n 's/^0x[0-9a-f]* class=IEFrame text=//p')
    if [ -n "$browser" ]; then
      address=$(drv controls "$browser" | sed -n 's/.* class=Edit .* text=//p') || true
      [ "$address" = "$url" ] && break
    fi
    sleep 0.5
  done
  [ -n "$browser" ] || fail "no browser window opened"
  [ "$address" = "$url" ] || fail "the browser's address bar shows '$address', not $url"
}

# Home page, with a browser frame open: nothing; then mail: the shell opens the document.
wine_start classwindow.exe IEFrame 'Staged browser'
staged=$!
drv wait 'Staged browser' --timeout 10000 >/dev/null || fail "no staged browser window"
drv mouseup "$about" "$url" 1 >/dev/null
drv mouseup "$about" "$mail" 1 >/dev/null
wait_records 1 "mail link"
no_box "mail link"
echo "mail link: the shell opened mailto:$mail"
[ "$(ie_count)" = 1 ] || fail "another browser window opened: $(drv list)"
no_box "home-page link with a browser open"
unstage 'Staged browser' "$staged"
echo "home-page link with an IEFrame window open: nothing"

# Mail, with a compose window open: nothing; then home page, with no browser
# open: one new, visible browser window (the driver lists visible windows
# only) with the home page in its address bar; no box of ours.
wine_start classwindow.exe ATH_Note 'Compose'
staged=$!
drv wait Compose --timeout 10000 >/dev/null || fail "no staged compose window"
drv mouseup "$about" "$mail" 1 >/dev/null
drv mouseup "$about" "$url" 1 >/dev/null
wait_browser
no_box "home-page link"
drv find "$about" >/dev/null || fail "About window gone"
echo "home-page link: one browser window ('$browser') at $url; no box"
[ "$(records)" = 1 ] || fail "the shell was asked with a compose window open: $(cat "$record")"
no_box "mail link with a compose window"
unstage Compose "$staged"
echo "mail link with an ATH_Note window open: nothing"

# The browser's own window now stands for "one is open": a second release
# opens no other; then mail once more.
drv mouseup "$about" "$url" 1 >/dev/null
drv mouseup "$about" "$mail" 1 >/dev/null
wait_records 2 "mail link again"
[ "$(ie_count)" = 1 ] || fail "a second browser window opened"
no_box "home-page link with the browser it opened"
echo "home-page link with the browser it opened still open: nothing"

drv click "$about" OK >/dev/null
drv wait "$about" --gone --timeout 10000 >/dev/null || fail "OK did not close the window"
drv close "$main" >/dev/null
drv wait "$main" --gone --timeout 10000 >/dev/null || fail "main window still open"
[ "$(records)" = 2 ] || fail "the mail handler ran late: $(cat "$record")"
echo "PASS"
