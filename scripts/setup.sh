#!/usr/bin/env bash
# Installs what building, testing and the demonstration need on Debian 12,
# as root; a package already there is left alone.
set -euo pipefail
packages=(cmake make g++ libgtest-dev g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  g++-mingw-w64-i686 binutils-mingw-w64-i686 wine wine64
  xvfb xauth x11-utils fonts-ipafont-gothic imagemagick locales fp-utils libchm-bin python3
  clang libclang-rt-14-dev)
# wine32:i386 runs the 32-bit program, through a 32-bit Linux loader. A kernel
# without IA-32 emulation cannot start that loader, and with it installed the
# wine command picks it for every program, so it is installed only where a
# 32-bit Linux program runs: the smallest one, exit(0) by int 0x80. A Wine
# prefix made before wine32 was installed cannot run 32-bit programs, so the
# test and demo prefixes are made after this.
runs_i386() {
  local probe status=0
  probe=$(mktemp)
  printf '\177ELF\1\1\1\0\0\0\0\0\0\0\0\0\2\0\3\0\1\0\0\0\124\200\4\10\64\0\0\0\0\0\0\0\0\0\0\0\64\0\40\0\1\0\0\0\0\0\0\0%b' \
    '\1\0\0\0\0\0\0\0\0\200\4\10\0\200\4\10\135\0\0\0\135\0\0\0\5\0\0\0\0\20\0\0\270\1\0\0\0\61\333\315\200' >"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null || status=$?
  rm -f "$probe"
  return "$status"
}
if runs_i386; then
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  packages+=(wine32:i386)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
# Japanese text on command lines and in Unix files must reach Wine intact.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi
