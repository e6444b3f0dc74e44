# Each rule of the download status scan against real windows: one imitation
# desktop per case, scanned by the console scan built from the same code.
source "$(dirname "$0")/imitation.bash"

expect_scan "active=0 failed=0 copying=0" "nothing staged (only Wine's own windows)"

stage saving <<'S'
window d1 ファイルのダウンロード
child d1.l d1 STATIC 保存しています:
child d1.b d1 BUTTON キャンセル
window d2 12% 完了しました - ファイルのダウンロード
child d2.p d2 PANEL
child d2.l d2.p STATIC 保存しています: report.zip
window d3 ファイルのダウンロード
child d3.p d3 PANEL
child d3.q d3.p PANEL
child d3.l d3.q STATIC 保存しています: movie.mpg
child d3.m d3 STATIC 保存しています: twice
S
expect_scan "active=4 failed=0 copying=0" "saving labels at depths 1, 2 and 3, one caption also in progress"
unstage saving

stage quiet <<'S'
window d ファイルのダウンロード
child d.l d STATIC 保存しました
window e Microsoft Internet Explorer
child e.l e STATIC ページを表示できません
window s 保存しています
window t 処理がタイムアウトになりました
window b ブラウザ
child b.1 b STATIC Microsoft Internet Explorer
child b.2 b STATIC 処理がタイムアウトになりました
child b.3 b STATIC 完了しました
child b.4 b STATIC コピーしています
window w microsoft internet explorer
child w.l w STATIC サーバーとの接続がリセットされました
window k ﾌｧｲﾙのﾀﾞｳﾝﾛｰﾄﾞ
child k.l k STATIC 保存しています
S
expect_scan "active=0 failed=0 copying=0" "markers in the wrong place, case or width count for nothing"
unstage quiet

stage progress <<'S'
window p1 35% 完了しました - index.html
hidden p2 80% 完了しました - setup.exe
S
expect_scan "active=2 failed=0 copying=0" "two progress captions, one of them hidden"
unstage progress

stage errors <<'S'
window e1 Microsoft Internet Explorer
child e1.t e1 STATIC 処理がタイムアウトになりました
child e1.r e1 STATIC サーバーとの接続がリセットされました
child e1.ok e1 BUTTON OK
window e2 空白のページ - Microsoft Internet Explorer
child e2.p e2 PANEL
child e2.l e2.p STATIC 接続エラー: サーバーとの接続がリセットされました。
S
expect_scan "active=0 failed=2 copying=0" "an error box and a browser window with the error deep inside"
unstage errors

stage both <<'S'
window x ファイルのダウンロード - Microsoft Internet Explorer
child x.l x STATIC 保存しています:
child x.e x STATIC 処理がタイムアウトになりました
window c1 コピーしています...
window c2 2 個の項目をコピーしています
S
expect_scan "active=1 failed=1 copying=-1" "one window under both child rules, two copies"
unstage both
