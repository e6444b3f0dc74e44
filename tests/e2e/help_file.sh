# The help file beside the exe: a compiled HTML Help file whose pages, in
# Shift-JIS, explain every part of the program a user meets; the screenshots
# that exist are in it and the missing ones leave no broken picture.
failed=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then echo "ok     $what"; else echo "FAILED $what"; failed=1; fi
}
# shellcheck disable=SC2317  # run through check
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
  '%LOCALAPPDATA%\Programs\Pellory' "ブロックの解除" "許可する" "KB2533623" "System32" \
  "cmdStart_Click" "tmrPellory_Timer" "Read_Log" "PelloryV2_0" "75:パス名が無効です。" \
  "ダウンロード監視をキャンセルして終了しますか" "●監視中 - Pellory" "未監視 - Pellory"; do
  check "a page says \"$key\"" grep -qF -- "$key" <<<"$text"
done
for page in pages/*.html; do
  check "$(basename "$page") is labelled Shift_JIS" grep -q 'charset=Shift_JIS' "$page"
done
for page in $(iconv -f CP932 -t UTF-8 pages/toc.hhc | sed -n 's/.*name="Local" value="\([^"]*\)".*/\1/p'); do
  check "contents entry $page is in the file" [ -f "pages/$page" ]
done
# Every page written is compiled in and listed in the contents.
# shellcheck disable=SC2034  # read by the checks' eval below
contents=$(iconv -f CP932 -t UTF-8 pages/toc.hhc)
for source in "$PELLORY_ROOT"/help/*.html; do
  page=$(basename "$source")
  check "$page is in the file and in the contents" eval "[ -f pages/$page ] && grep -qF 'value=\"$page\"' <<<\"\$contents\""
done
# The sections that other pages and readme.txt point to, each with its marker.
for section in index.html:system index.html:folder watch.html:sleep log.html:normal startup.html:noend \
  end.html:logoff end.html:box errors.html:cmdStart_Click errors.html:tmrPellory_Timer errors.html:Read_Log \
  errors.html:PelloryV2_0; do
  check "${section%%:*} has the section ${section#*:}" grep -qF "<a name=\"${section#*:}\">" "pages/${section%%:*}"
done
# Read whole, not piped: grep -q stops at the first match, and iconv, cut off
# while still writing, would fail the check under pipefail.
check "the opening page marks the forced shutdown 【重要】" grep -qF '【重要】' <<<"$(iconv -f CP932 -t UTF-8 pages/index.html)"
# Every link between pages leads to a page of the file, and to a section
# that page has.
# shellcheck disable=SC2317  # run through check
links_resolve() {
  local page link target anchor bad=0
  for page in pages/*.html; do
    while read -r link; do
      target=${link%%#*} anchor=""
      [ "$target" != "$link" ] && anchor=${link#*#}
      [ -n "$target" ] || target=$(basename "$page")
      if [ ! -f "pages/$target" ]; then
        echo "  $(basename "$page"): $link: no such page"; bad=1
      elif [ -n "$anchor" ] && ! grep -qF "name=\"$anchor\"" "pages/$target"; then
        echo "  $(basename "$page"): $link: no such section"; bad=1
      fi
    done < <(grep -o 'href="[^"]*"' "$page" | sed 's/^href="//; s/"$//' | grep -v -E '^[a-z]+:')
  done
  return "$bad"
}
check "every link between pages resolves" links_resolve
# One long-vowel spelling throughout, as Windows writes these words
# (tests/long_vowels.txt, which readme.txt is held to as well).
# shellcheck disable=SC2317  # run through check
short_spellings() {
  ! grep -n -P "$(sed 's/$/(?!ー)/' "$PELLORY_ROOT/tests/long_vowels.txt" | paste -sd'|')" <<<"$text"
}
check "no short long-vowel spelling (コンピューター, フォルダー, ...)" short_spellings

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
