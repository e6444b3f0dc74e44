#!/usr/bin/env bash
# Makes the private root that runs the 32-bit program: Debian unstable's Wine
# 10, built in the new WoW64 mode, which runs 32-bit Windows programs with no
# 32-bit Linux code at all (no i386 architecture, no wine32, and no kernel
# support for 32-bit programs needed). A complete root is reused; one that a
# stopped run left incomplete is made anew. PELLORY_WOW64_ROOT names another
# folder, so that several checkouts can share one root.
set -euo pipefail
source "$(dirname "$0")/wow64-env.sh"
root=$PELLORY_WOW64_ROOT
stamp=$root/.pellory-root-complete
[ -f "$stamp" ] && exit 0

# A root whose making was cut short may still have the host's /proc or /dev
# mounted inside it: take those down before removing it, and never cross into
# another file system while removing.
take_down() {
  [ -e "$root" ] || return 0
  awk -v r="$(readlink -f "$root")/" 'index($2 "/", r) == 1 { print $2 }' /proc/self/mounts | sort -r |
    while read -r m; do umount -l "$m"; done
  rm -rf --one-file-system "$root"
}

# The host's own Debian mirror, as apt is set up here.
mirror=$(cat /etc/apt/sources.list.d/*.sources /etc/apt/sources.list 2>/dev/null |
  awk '/^URIs:/ { print $2 } /^deb / { print ($2 ~ /^\[/) ? $3 : $2 }' | grep -v -- '-security' | head -n 1 || true)
[ -n "$mirror" ] || { echo "no Debian mirror found in apt's sources" >&2; exit 1; }

# The unstable suite's Release file on a frozen mirror can be past its
# Valid-Until date; the packages are still signed and checked.
packages=wine,wine64,fonts-ipafont-gothic,locales
echo "making the WoW64 Wine root in $root (Debian unstable, from $mirror)"
for try in 1 2 3 4; do
  take_down
  mkdir -p "$(dirname "$root")"
  if mmdebstrap --quiet --variant=apt --aptopt='Acquire::Check-Valid-Until "false"' --aptopt='Acquire::Retries "3"' \
      --include="$packages" sid "$root" "$mirror" >"$root.log" 2>&1; then
    break
  fi
  tail -n 5 "$root.log" >&2
  if [ "$try" = 4 ]; then
    echo "the WoW64 Wine root could not be made (apt's words above, the whole log in $root.log)" >&2
    take_down
    exit 1
  fi
  echo "making the root failed (try $try of 4); trying again in $((try * 15)) s" >&2
  sleep $((try * 15))
done

# The 32-bit Windows side must be there: a Wine built without WoW64 would
# start no 32-bit program.
if [ ! -f "$root/usr/lib/x86_64-linux-gnu/wine/i386-windows/ntdll.dll" ]; then
  echo "the root's Wine has no i386-windows DLLs: it is not a WoW64 build" >&2
  exit 1
fi
# Japanese command lines must reach the root's Wine intact, as on the host.
wow64_bwrap
"${WOW64_BWRAP[@]}" localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
"${WOW64_BWRAP[@]}" wine --version >"$stamp"
echo "WoW64 Wine root ready: $(cat "$stamp")"
