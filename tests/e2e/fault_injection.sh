# The fault injector on the x86-64 program: fourteen whole runs, each with one
# function failing, at least one from every DLL the program imports from,
# judged as the fault sweep judges them (tests/e2e/fault.bash): no crash, no
# hang, no log fault, no unearned shutdown; the injector did fail the call
# (its journal says so), and where the program's answer is known, the
# outcome is that answer. The About window's links stand for ole32, oleaut32
# and shell32, which a watch does not call.
# CMake runs it against the x86-64 build only.
source "$(dirname "$0")/fault.bash"

ran=0
# expect KIND FUNCTION MODE [OUTCOME-PATTERN]: one run (KIND watch or about).
expect() {
  local kind=$1 function=$2 mode=$3 pattern=${4:-} outcome
  FAULT_OUT="$E2E_RESULTS/${function}_${mode/:/-}"
  if [ "$kind" = about ]; then fault_about "$function" "$mode"; else fault_run "$function" "$mode"; fi
  outcome=$(cat "$FAULT_OUT/outcome.txt")
  [ "$FAULT_VERDICT" = ok ] || fail "$outcome (files in $FAULT_OUT)"
  [ "$FAULT_FAILED" -ge 1 ] || fail "$function $mode: the injector failed no call (journal: $(tr '\r\n' '  ' <"$FAULT_OUT/journal.txt"))"
  [ -z "$pattern" ] || [[ $outcome == *"$pattern"* ]] || fail "expected '$pattern': $outcome"
  ran=$((ran + 1))
}

# user32: a poll that cannot list the windows, read a caption or list the
# download dialog's labels decides nothing; once the dialog has gone, the
# labels need no listing and the next poll ends the watch.
expect watch EnumWindows from:poll 'watch started, no shutdown'
expect watch GetWindowTextA from:poll 'watch started, no shutdown'
expect watch EnumChildWindows from:poll 'shut down as expected'
# user32: no window for the form (the desktop heap full): Form_Load's box,
# then the program ends, rather than living on with nothing to see or close.
expect watch RegisterClassExW nth:1 'error box "Form_Load"'
expect watch CreateWindowExW nth:1 'error box "Form_Load"'
# kernel32: the start line cannot be written: cmdStart_Click's box, no shutdown.
expect watch WriteFile nth:1 'error box "cmdStart_Click"'
# kernel32: the clock's library cannot be loaded for the wait: the tick's box.
expect watch LoadLibraryExW nth:1 'error box "tmrPellory_Timer"'
# advapi32: no token to enable the privilege with: the shutdown is asked for anyway.
expect watch OpenProcessToken nth:1 'shut down as expected'
# gdi32 and comctl32: the look degrades, the watch does not.
expect watch CreateFontIndirectW nth:1 'shut down as expected'
expect watch InitCommonControlsEx nth:1 'shut down as expected'
# msvcrt: the C runtime's start-up cannot copy the command line: the error
# box of an uncaught error, and the program ends.
expect watch malloc nth:1 'error box "PelloryV2_0": "7:メモリが不足しています。'
# ole32, oleaut32, shell32: the links ignore their errors.
expect about CoCreateInstance nth:1 'about links: no box'
expect about SysAllocStringLen nth:1 'about links: no box'
expect about ShellExecuteA nth:1 'about links: no box'
echo "$ran runs: no crash, hang, log fault or unearned shutdown"
echo "PASS"
