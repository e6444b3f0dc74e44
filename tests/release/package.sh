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
# shellcheck disable=SC2317  # run through check
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
# The usual headings of a Japanese freeware readme, each a line of its own,
# in this order; 【重要】 on the forced shutdown in 概要; a date in 履歴; the
# help pages it points to exist; one long-vowel spelling throughout.
# shellcheck disable=SC2317  # run through check
readme_form() {
  python3 - "$zip" "$root/help/toc.hhc" "$root/tests/long_vowels.txt" <<'PY'
import re, sys, zipfile
text = zipfile.ZipFile(sys.argv[1]).read("readme.txt").decode("cp932")
lines = text.split("\r\n")
wanted = ["概要", "種別", "動作環境", "インストール", "使い方", "注意", "免責",
          "ファイル構成", "アンインストール", "履歴", "著作権", "連絡先"]
headings = [l[2:] for l in lines if l.startswith("■ ")]
faults = []
missing = [h for h in wanted if h not in headings]
if missing:
    faults.append("missing headings: " + " ".join(missing))
elif [h for h in headings if h in wanted] != wanted:
    faults.append("headings out of order: " + " ".join(headings))
def section(name):
    if name not in headings:
        return []
    start = lines.index("■ " + name) + 1
    end = next((i for i in range(start, len(lines)) if lines[i].startswith("■ ")), len(lines))
    return [l for l in lines[start:end] if l.strip()]
if not any("【重要】" in l for l in section("概要")):
    faults.append("no 【重要】 in 概要")
history = section("履歴")
if not history or not re.match(r"\d{4}/\d{2}/\d{2} ", history[0]):
    faults.append("履歴 does not start with a date: %r" % (history[:1],))
titles = set(re.findall(r'name="Name" value="([^"]+)"', open(sys.argv[2], encoding="utf-8").read()))
joined = re.sub(r"\r\n *", "", text)
for title in re.findall(r"ヘルプの「([^」]+)」", joined):
    if title not in titles:
        faults.append("points to a help page that does not exist: " + title)
words = open(sys.argv[3], encoding="utf-8").read().split()
short = re.findall(r".{0,8}(?:" + "|".join(words) + r")(?!ー).{0,4}", text)
if short:
    faults.append("short long-vowel spellings: " + " / ".join(short))
for fault in faults:
    print("  " + fault)
sys.exit(1 if faults else 0)
PY
}
check "readme.txt has the usual headings, 【重要】 in 概要, a dated 履歴, help pages that exist, one spelling" readme_form
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
