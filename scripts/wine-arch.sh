# Sourced: which Windows build this machine's Wine can run. Debian's Wine runs
# 32-bit programs through a 32-bit Linux loader, which scripts/setup.sh
# installs only where the kernel runs 32-bit Linux programs; elsewhere the
# 64-bit build stands in for the 32-bit program we ship.
wine_runs_32bit() { /usr/lib/wine/wine --version >/dev/null 2>&1; }
if wine_runs_32bit; then
  WINE_ARCH=i686 WINE_BUILD=win
else
  WINE_ARCH=x86_64 WINE_BUILD=win64
fi
