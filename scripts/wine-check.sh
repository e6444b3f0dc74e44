#!/usr/bin/env bash
# Says why the Wine of this session (scripts/wine-env.sh) cannot run the
# session's program, and fails; prints nothing where it can. The last check
# needs the session's prefix and is left out until the prefix exists.
#  exit 1: this Wine is missing or broken (set-up did not finish);
#  exit 3: this machine's kernel cannot run 32-bit code, so no Wine runs the
#          32-bit program: WoW64 Wine 10 still makes one 32-bit system call as
#          a program starts (set_thread_area through int 0x80), which a
#          kernel without IA-32 emulation refuses. A tiny 32-bit Linux
#          program tells at once (scripts/ia32-check.sh), before anything
#          else is asked of Wine; where that runs, a 32-bit console program of
#          Wine's own tells.
set -uo pipefail
source "$(dirname "$0")/wine-env.sh"
if [ "$PELLORY_WINE_BITS" = 32 ]; then
  bash "$(dirname "$0")/ia32-check.sh" || exit 3
  source "$(dirname "$0")/wow64-env.sh"
  [ -f "$PELLORY_WOW64_ROOT/.pellory-root-complete" ] ||
    { echo "no WoW64 Wine root in $PELLORY_WOW64_ROOT: scripts/setup.sh makes it"; exit 1; }
fi
out=$(wine --version 2>&1) || { echo "wine cannot start: $out"; exit 1; }
if [ "$PELLORY_WINE_BITS" = 32 ] && [ -f "$WINEPREFIX/system.reg" ]; then
  out=$(WINEDEBUG=-all,err+seh wine 'C:\windows\syswow64\cmd.exe' /c echo 32-bit 2>&1)
  status=$?
  if [ "$status" != 0 ] || ! grep -q '32-bit' <<<"$out"; then
    echo "this machine's kernel cannot run a 32-bit program under WoW64 Wine: cmd.exe (32-bit) exited $status, saying:"
    grep -v '^ *$' <<<"$out" | tail -n 5
    exit 3
  fi
fi
