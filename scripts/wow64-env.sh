# Sourced: where the WoW64 Wine root lies and how a command enters it. The
# root sees the host's /tmp (the X and Wine server sockets), /dev, /sys, a
# fresh /proc, and the checkout, the Wine folder and the current folder at
# their own paths, so that programs in the root and on the host share the
# display and the files.
PELLORY_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
: "${PELLORY_WOW64_ROOT:=$PELLORY_ROOT/build/wow64}"
export PELLORY_ROOT PELLORY_WOW64_ROOT

# WOW64_BWRAP: bwrap and its arguments, to be followed by a command of the root.
# The command dies with bwrap, and bwrap with the process that started it:
# ending the process a caller started ends the program, and a program started
# in the background ends with the script that started it.
wow64_bwrap() {
  local binds=(--bind "$PELLORY_ROOT" "$PELLORY_ROOT")
  if [ -n "${PELLORY_WINE_DIR:-}" ]; then
    mkdir -p "$PELLORY_WINE_DIR"
    binds+=(--bind "$PELLORY_WINE_DIR" "$PELLORY_WINE_DIR")
  fi
  [ "$PWD" = / ] || binds+=(--bind "$PWD" "$PWD")
  # Wine 10 tries Wayland first; a private runtime folder without a Wayland
  # socket sends it to X quietly.
  local runtime
  runtime=/tmp/pellory-xdg-$(id -u)
  (umask 077 && mkdir -p "$runtime")
  # shellcheck disable=SC2034  # read by the scripts that source this file
  WOW64_BWRAP=(bwrap --bind "$PELLORY_WOW64_ROOT" / --proc /proc --dev-bind /dev /dev --ro-bind /sys /sys
    --bind /tmp /tmp "${binds[@]}" --die-with-parent --chdir "$PWD" --setenv XDG_RUNTIME_DIR "$runtime"
    --setenv PATH /usr/local/bin:/usr/bin:/bin:/usr/lib/x86_64-linux-gnu/wine)
}
