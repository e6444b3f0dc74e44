#!/usr/bin/env bash
# The release zip: its entries in order, readme.txt in Shift-JIS with CR LF,
# no link time in either program's PE header, and the same bytes again when
# everything is built once more from scratch in another folder (whose path
# must not reach the bytes).
#   package.sh BUILD_ROOT SECOND_ROOT
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
first=$1 second=$2
failed=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then echo "ok     $what"; else echo "FAILED $what"; failed=1; fi
}
PELLORY_BUILD=$first bash "$root/scripts/release.sh" >/dev/null
rm -rf "$second"
PELLORY_BUILD=$second bash "$root/scripts/release.sh" >/dev/null

zip=$first/release/PelloryV2_0.zip
names=$(python3 -c 'import sys, zipfile; print(" ".join(zipfile.ZipFile(sys.argv[1]).namelist()))' "$zip")
check "entries: $names" [ "$names" = "PelloryV2_0.exe PelloryV2_0.chm readme.txt x64/PelloryV2_0.exe" ]
readme_ok() {
  python3 - "$zip" <<'PY'
import sys, zipfile
data = zipfile.ZipFile(sys.argv[1]).read("readme.txt")
text = data.decode("cp932")
lines = data.split(b"\r\n")
sys.exit(0 if lines[-1] == b"" and all(b"\n" not in l and b"\r" not in l for l in lines)
         and "■ 連絡先" in text and "support@pellory.example" in text
         and all(k in text for k in ("%LOCALAPPDATA%\\Programs\\Pellory", "ブロックの解除", "許可する", "KB2533623"))
         else 1)
PY
}
check "readme.txt is Shift-JIS with CR LF and says where to put the program" readme_ok
link_time() {  # the PE header's TimeDateStamp
  python3 -c 'import struct, sys; d = open(sys.argv[1], "rb").read()
pe = struct.unpack_from("<I", d, 0x3C)[0]; print(struct.unpack_from("<I", d, pe + 8)[0])' "$1"
}
for dir in win win64; do
  check "$dir/PelloryV2_0.exe carries no link time" [ "$(link_time "$first/$dir/PelloryV2_0.exe")" = 0 ]
done
for file in win/PelloryV2_0.exe win64/PelloryV2_0.exe win/PelloryV2_0.chm release/PelloryV2_0.zip; do
  check "$file is the same when built again: $(sha256sum <"$first/$file" | cut -c1-16)" \
    cmp -s "$first/$file" "$second/$file"
done
exit $failed
