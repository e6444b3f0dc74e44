# A desktop that changes between scans, and one that churns while scanned.
source "$(dirname "$0")/imitation.bash"

stage changes <<'S'
window dl ファイルのダウンロード
child dl.l dl STATIC 保存しています: data.iso
window pr 45% 完了しました - big.zip
at 4 close dl
at 4 title pr ダウンロードの完了
at 4 window err Microsoft Internet Explorer
at 4 child err.l err STATIC 処理がタイムアウトになりました
S
expect_scan "active=2 failed=0 copying=0" "a download dialog and a progress caption"
wait_event changes 'child err.l'
expect_scan "active=0 failed=1 copying=0" "after the dialog closed, the caption changed and an error box appeared"
unstage changes

# Windows created, retitled and destroyed every 5 ms while scans run: every
# scan must finish with a status line.
stage churn <<'S'
churn 7 2000 5
S
for k in 1 2 3 4 5; do
  line=$(scan | head -n 1)
  case "$line" in
    active=*" failed="*" copying="*) echo "ok: scan $k during churn: $line" ;;
    *) echo "FAIL: scan $k during churn printed '$line'" >&2; exit 1 ;;
  esac
done
wait_event churn '^churn done$'
echo "ok: the churning program ran to its end"
unstage churn
