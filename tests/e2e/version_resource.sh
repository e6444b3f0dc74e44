# The version resource of the built exe, as Windows reads it: one Japanese
# Unicode string block with exactly the five names, and its translation.
expected='FILEVERSION 1.0.0.0
PRODUCTVERSION 1.0.0.0
/StringFileInfo/041104B0/FileVersion=1.00
/StringFileInfo/041104B0/InternalName=PelloryV2_0
/StringFileInfo/041104B0/OriginalFilename=PelloryV2_0.exe
/StringFileInfo/041104B0/ProductName=PelloryV2_0
/StringFileInfo/041104B0/ProductVersion=1.00
/VarFileInfo/Translation= 0411 04B0'
actual=$(wine_run resource_console.exe version PelloryV2_0.exe | tr -d '\r')
if [ "$actual" != "$expected" ]; then
  echo "version resource differs:"
  diff <(echo "$expected") <(echo "$actual") || true
  exit 1
fi
echo "version resource: $(echo "$actual" | wc -l) entries as expected"
