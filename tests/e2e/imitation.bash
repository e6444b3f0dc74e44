# Sourced by the scan tests: stage imitation dialogs from a script and print
# or check what one console scan finds.

# stage NAME < script: starts imitation_dialogs on the script and waits until
# its windows are up; IMITATION_PID is the background job.
stage() {
  local name=$1
  cat >"$E2E_DIR/$name.txt"
  rm -f "$E2E_DIR/$name.events" "$E2E_DIR/$name.events.stop"
  wine_start imitation_dialogs.exe "$name.txt" "$name.events"
  IMITATION_PID=$!
  wait_event "$name" '^ready$'
}

# wait_event NAME REGEX: waits (up to 60 s) for a line of the events file.
wait_event() {
  local file="$E2E_DIR/$1.events"
  for _ in $(seq 600); do
    grep -q -- "$2" "$file" 2>/dev/null && return 0
    sleep 0.1
  done
  echo "FAIL: $1 never announced /$2/" >&2
  return 1
}

# unstage NAME: ends the imitation program and waits until its windows are gone.
unstage() {
  touch "$E2E_DIR/$1.events.stop"
  wait_event "$1" '^stopped$'
  wait "$IMITATION_PID" 2>/dev/null || true
}

scan() {
  wine_run scan_console.exe "$@" | tr -d '\r'
}

# expect_scan EXPECTED WHAT: one scan must print exactly EXPECTED.
expect_scan() {
  local got
  got=$(scan | head -n 1)
  if [ "$got" != "$1" ]; then
    echo "FAIL: $2: expected '$1', got '$got'" >&2
    scan --windows >&2
    return 1
  fi
  echo "ok: $2: $got"
}
