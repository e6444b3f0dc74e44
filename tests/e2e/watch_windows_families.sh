# One whole watch of the real program for each Windows family that Wine can
# report: its Version setting makes GetVersionExA give platform id 0 (win31),
# 1 (win98) or 2 (winxp64, win7, win10). The 32-bit program imports functions
# that the DLLs of Windows 3.1 and 9x lack, so it cannot start there: these
# runs exercise the program's branches for those platform ids as the code
# defines them, not a real Windows 3.1 or 98.
#   win31: the end line is logged, then a box refuses with OK only and no
#          icon; after OK the program ends and the session's programs live on.
#   win98: ExitWindowsEx alone, without the token and privilege calls.
#   NT:    the privilege is enabled, the token closed, then ExitWindowsEx.
# Which of the shutdown's system calls the program makes is read from Wine's
# relay trace of its process, limited to those calls, on the program's own
# thread: from its last GetVersionExA (Exec_Shutdown's first call) on. Wine
# does not trace GetCurrentProcess, which only returns a constant.
source "$(dirname "$0")/watch.bash"

# Version and the trace's filter are set for the whole prefix; they go when
# the test ends, and the server saves the registry as it ends.
leave_families() {
  wineserver -k 2>/dev/null || true
  wine reg delete 'HKCU\Software\Wine' /v Version /f >/dev/null 2>&1 || true
  wine reg delete 'HKCU\Software\Wine\Debug' /v RelayInclude /f >/dev/null 2>&1 || true
  leave_desktop
}
trap leave_families EXIT
TRACED='GetVersionExA;OpenProcessToken;LookupPrivilegeValueA;AdjustTokenPrivileges;CloseHandle;ExitWindowsEx'
wine reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /d "$TRACED" /f >/dev/null 2>&1

# Starts the program with the relay trace going to TRACE.
start_traced() {
  TRACE="$E2E_DIR/$1.trace"
  (cd "$E2E_DIR" && WINEDEBUG=-all,+relay exec wine "$E2E_DIR/PelloryV2_0.exe" >/dev/null 2>"$TRACE") &
  PELLORY_PID=$!
}

# The traced calls of the program's thread from its last GetVersionExA on,
# as "Name=retval", one per line; the shutdown may end the program before
# ExitWindowsEx returns, so that call is given without its result.
shutdown_calls() {
  python3 - "$TRACE" <<'P'
import re, sys
calls = []
thread = None
for line in open(sys.argv[1], errors="replace"):
    m = re.match(r"([0-9a-f]+):(Call|Ret) +[\w.-]+\.(\w+)\(.*?\)(?: retval=([0-9a-f]+))?", line)
    if not m:
        continue
    tid, kind, name, retval = m.groups()
    thread = thread or tid  # the program's first traced call is on its own thread
    if tid != thread:
        continue
    if kind == "Call":
        if name == "GetVersionExA":
            calls = []
        calls.append([name, None])
    elif calls and calls[-1][0] == name:
        calls[-1][1] = str(int(retval, 16))
for name, retval in calls:
    print(name if name == "ExitWindowsEx" else f"{name}={retval}")
P
}

# Stages a bystander and a download, starts the program under the given
# Version, lets the watch start by itself, ends the download and waits for
# the shutdown caption.
watch_to_end() {
  local version=$1
  wine reg add 'HKCU\Software\Wine' /v Version /d "$version" /f >/dev/null 2>&1
  rm -f "$LOG"
  stage_bystander_and_download
  start_traced "$version"
  drv wait "$WATCHING" --timeout 30000 >/dev/null || fail "$version: the watch did not start by itself"
  unstage downloads
  drv wait "$SHUTDOWN" --timeout 15000 >/dev/null || fail "$version: no shutdown caption"
  echo "$version: watched a download to its end (${SECONDS} s into the test)"
}

# The log holds the start line and the normal end line.
expect_end_line() {
  log_lines | sed "s/^/  $1 log: /"
  { [ "$(log_lines | wc -l)" = 2 ] && log_lines | head -n 1 | grep -q '　ダウンロード監視スタート$' &&
    log_lines | tail -n 1 | grep -q '　正常終了シャットダウン$'; } || fail "$1: the log does not hold the start and end lines"
}

# The session ends by the program's shutdown: the bystander goes with it.
expect_session_shut_down() {
  for _ in $(seq 300); do alive "$bystander" || break; sleep 0.1; done
  alive "$bystander" && fail "$1: the bystander survived: no shutdown"
  timeout 30 wineserver -w || fail "$1: the Wine session did not end"
  echo "$1: the session was shut down"
}

expect_calls() {  # version expected-calls
  local calls
  calls=$(shutdown_calls | tr '\n' ' ')
  echo "$1: calls: $calls"
  [ "$calls" = "$2 " ] || fail "$1: expected the calls $2"
}

watch_to_end win31
drv wait PelloryV2_0 --timeout 15000 >/dev/null || fail "win31: no box titled PelloryV2_0"
shot win31_refusal
expect_end_line win31  # written before the box
expect_box PelloryV2_0 'Windows3.1では利用できません' none 'OK=1' 1
# No ExitWindowsEx in the trace (below) shows there was no shutdown; the
# bystander and the server are looked at as well.
for _ in $(seq 150); do alive "$PELLORY_PID" || break; sleep 0.1; done
alive "$PELLORY_PID" && fail "win31: the program did not end after OK"
alive "$bystander" || fail "win31: the bystander was ended"
drv find '無題 - メモ帳' >/dev/null || fail "win31: the bystander's window is gone"
if timeout 2 wineserver -w; then fail "win31: the Wine session ended"; fi
echo "win31: the program ended; the bystander and the session live on"
expect_calls win31 'GetVersionExA=1'
wineserver -k
wineserver -w

watch_to_end win98
expect_session_shut_down win98
expect_end_line win98
expect_calls win98 'GetVersionExA=1 ExitWindowsEx'

nt_calls='GetVersionExA=1 OpenProcessToken=1 LookupPrivilegeValueA=1 AdjustTokenPrivileges=1 CloseHandle=1 ExitWindowsEx'
for version in winxp64 win7 win10; do
  watch_to_end "$version"
  expect_session_shut_down "$version"
  expect_end_line "$version"
  expect_calls "$version" "$nt_calls"
done
echo "PASS"
