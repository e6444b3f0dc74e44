# The help file beside the exe: a compiled HTML Help file whose pages, in
# Shift-JIS, explain every part of the program a user meets; the screenshots
# that exist are in it and the missing ones leave no broken picture.
failed=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then echo "ok     $what"; else echo "FAILED $what"; failed=1; fi
}
has_pages_of() {  # has_pages_of CHM FOLDER: extracted pages decode as Shift-JIS
  rm -rf "$2" && extract_chmLib "$1" "$2" >/dev/null && ls "$2"/*.html >/dev/null
}
magic=$(head -c 4 PelloryV2_0.chm)
check "starts with ITSF" [ "$magic" = ITSF ]
check "pages extract" has_pages_of PelloryV2_0.chm pages

text=$(cat pages/*.html | iconv -f CP932 -t UTF-8)
for key in "見張り開始" "ファイルのダウンロード" "保存しています" "完了しました" "コピーしています" \
  "Microsoft Internet Explorer" "処理がタイムアウトになりました" "サーバーとの接続がリセットされました" \
  "DownloadLog.txt" "前回のログに追加" "上書き出力" "前回異常終了しています" "前回の終了記録がありません" \
  "キャンセル" "シャットダウンします..." "5 秒" "正常終了シャットダウン" "異常終了シャットダウン" \
  "ダウンロード監視スタート" "ダウンロード監視キャンセル" "強制的にシャットダウン" \
  '%LOCALAPPDATA%\Programs\Pellory' "ブロックの解除" "許可する" "KB2533623"; do
  check "a page says \"$key\"" grep -qF -- "$key" <<<"$text"
done
for page in pages/*.html; do
  check "$(basename "$page") is labelled Shift_JIS" grep -q 'charset=Shift_JIS' "$page"
done
for page in $(iconv -f CP932 -t UTF-8 pages/toc.hhc | sed -n 's/.*name="Local" value="\([^"]*\)".*/\1/p'); do
  check "contents entry $page is in the file" [ -f "pages/$page" ]
done
title=$(printf 'Pellory ヘルプ' | iconv -f UTF-8 -t CP932)
check "title stored in Shift-JIS" grep -qF -- "$title" "pages/#SYSTEM"

# The screenshots: whatever docs/ holds now, then a build given exactly one.
for shot in main-idle.png main-watching.png about.png; do
  if [ -f "$PELLORY_ROOT/docs/$shot" ]; then
    check "$shot is in the file and shown" eval "[ -f pages/$shot ] && grep -q 'src=\"$shot\"' <<<\"\$text\""
  else
    check "$shot is missing and not shown" eval "! grep -q 'src=\"$shot\"' <<<\"\$text\""
  fi
done
mkdir -p shots
convert -size 8x8 xc:red shots/main-idle.png
python3 "$PELLORY_ROOT/help/make_chm.py" chmcmd "$PELLORY_ROOT/help" shots stage one-shot.chm
check "a build with one screenshot" has_pages_of one-shot.chm one
one=$(cat one/*.html | iconv -f CP932 -t UTF-8)
check "  holds that screenshot" cmp -s shots/main-idle.png one/main-idle.png
check "  shows it" grep -q 'src="main-idle.png"' <<<"$one"
check "  shows no other" eval "[ \$(grep -c '<img' <<<\"\$one\") = 1 ]"
exit $failed
