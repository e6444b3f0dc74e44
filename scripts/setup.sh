#!/usr/bin/env bash
# Installs what building, testing and the demonstration need on Debian 12,
# as root; a package already there is left alone. The host gets no i386
# packages: the 32-bit program runs under the WoW64 Wine of a private root
# (scripts/wow64-root.sh), made last, except where the kernel runs no 32-bit
# program at all (scripts/ia32-check.sh). A mirror that fails is tried again.
# `setup.sh demo` installs only what the demonstration of the 32-bit program
# needs, `setup.sh demo64` what that of the 64-bit one needs.
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:-all}
packages=(cmake make xvfb xauth x11-utils imagemagick locales python3 fp-utils)
win32=(g++-mingw-w64-i686 binutils-mingw-w64-i686 mmdebstrap bubblewrap)
win64=(g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 wine wine64 fonts-ipafont-gothic)
case $mode in
  demo) packages+=("${win32[@]}") ;;
  demo64) packages+=("${win64[@]}") ;;
  all) packages+=("${win32[@]}" "${win64[@]}" g++ libgtest-dev libchm-bin clang libclang-rt-14-dev
    clang-format clang-tidy shellcheck) ;;
  *) echo "usage: setup.sh [demo|demo64]" >&2; exit 2 ;;
esac
log=$(mktemp)
trap 'rm -f "$log"' EXIT

# An earlier set-up installed Debian's own 32-bit Wine where the kernel ran
# 32-bit programs; with it the wine command takes its 32-bit loader for every
# program. It goes, and so does the i386 architecture once nothing needs it.
if dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed'; then
  echo "removing wine32:i386 (the 32-bit program runs under WoW64 Wine now)"
  DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq wine32:i386 libwine:i386 >/dev/null
  DEBIAN_FRONTEND=noninteractive apt-get autoremove -y -qq >/dev/null
fi
if dpkg --print-foreign-architectures | grep -qx i386 && [ "$(dpkg-query -W -f='${Package}:${Architecture}\n' | grep -c ':i386$')" = 0 ]; then
  dpkg --remove-architecture i386
fi

# apt-get update, tried four times; where it still fails in part, the
# install below says whether the indexes it has are enough.
update() {
  local try
  for try in 1 2 3 4; do
    apt-get update -qq >"$log" 2>&1 && return 0
    echo "apt-get update failed (try $try of 4):" >&2
    grep -E '^(E|W):' "$log" | head -n 5 >&2 || true
    [ "$try" = 4 ] || sleep $((try * 10))
  done
  echo "apt-get update still fails in part; going on with the indexes it has" >&2
}

# Installs the packages, trying a failed download again; stops with the
# name of each package apt cannot install and apt's reason.
install() {
  local try p
  for try in 1 2 3; do
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends -o Acquire::Retries=3 \
      "$@" >"$log" 2>&1 && return 0
    # A package apt cannot resolve will not come with another try.
    for p in "$@"; do
      if ! apt-get install -s -qq --no-install-recommends "$p" >"$log.one" 2>&1; then
        echo "cannot install $p:" >&2
        grep -E '^(E:| )' "$log.one" | head -n 8 >&2 || true
        rm -f "$log.one"
        exit 1
      fi
    done
    rm -f "$log.one"
    echo "apt-get install failed (try $try of 3):" >&2
    grep -E '^E:' "$log" | head -n 5 >&2 || true
    [ "$try" = 3 ] || { sleep $((try * 10)); update; }
  done
  echo "the packages could not be installed (apt's words above)" >&2
  exit 1
}

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  update
  install "${missing[@]}"
fi
# Japanese text on command lines and in Unix files must reach Wine intact.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi
[ "$mode" != demo64 ] || exit 0
if why=$(bash scripts/ia32-check.sh); then
  bash scripts/wow64-root.sh
else
  echo "$why, so no WoW64 Wine root is made"
fi
