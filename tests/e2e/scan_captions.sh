# Captions at the 255-byte cut and captions of bytes that are no valid
# Shift-JIS: the real GetWindowTextA and code page conversion under the scan.
source "$(dirname "$0")/imitation.bash"

sp() { printf '%*s' "$1" ''; }
sjis() { printf '%s' "$1" | iconv -f UTF-8 -t CP932 | od -An -tx1 | tr -d ' \n'; }

# "完了しました" is 12 bytes: ending at byte 255 it is seen, one byte later
# its last character is cut in half, further on it is gone.
stage cut <<S
window at255 $(sp 243)完了しました
S
expect_scan "active=1 failed=0 copying=0" "marker ending at byte 255"
unstage cut

stage past <<S
window half $(sp 244)完了しました
window gone $(sp 300)完了しました
window long $(sp 400)
S
expect_scan "active=0 failed=0 copying=0" "markers cut in half or past the cut of long captions"
unstage past

stage raw <<S
window r1
hextitle r1 ff80a0fdfe$(sjis 完了しました)
window r2
hextitle r2 $(sjis ファイル)8120$(sjis のダウンロード)
window r3
hextitle r3 $(printf '41%.0s' $(seq 254))83
window r4
hextitle r4 $(sjis コピーしています)83
S
expect_scan "active=1 failed=0 copying=-1" "invalid Shift-JIS around and inside markers"
listing=$(scan --windows)
if ! grep -q "^[0-9a-f]* A\{254\}" <<<"$listing"; then
  echo "FAIL: the caption of 254 letters and a lead byte was not read" >&2
  exit 1
fi
echo "ok: a caption ending in a lone lead byte reads as its 254 letters and more"
unstage raw
