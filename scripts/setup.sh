#!/usr/bin/env bash
# Installs what building, testing and the demonstration need on Debian 12,
# as root; a package already there is left alone.
set -euo pipefail
# wine32:i386 runs the 32-bit program; a Wine prefix made before it was
# installed cannot, so the test and demo prefixes are made after this.
dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
packages=(cmake make g++ libgtest-dev g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  g++-mingw-w64-i686 binutils-mingw-w64-i686 wine wine64 wine32:i386
  xvfb xauth x11-utils fonts-ipafont-gothic imagemagick locales fp-utils libchm-bin python3
  clang libclang-rt-14-dev)
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
