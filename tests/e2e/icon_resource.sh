# Icon 1 of the built exe: one 32 x 32, 16-colour (4-bit) image, and drawn by
# the system it shows exactly the pixel map res/pellory_icon.txt, transparent
# where the map says so (so not upside down, not shifted, masks right).
source "$PELLORY_ROOT/tests/e2e/icon_map.bash"
map="$PELLORY_ROOT/res/pellory_icon.txt"
actual=$(wine_run resource_console.exe icon PelloryV2_0.exe | tr -d '\r')

entries=$(echo "$actual" | grep '^entry ' || true)
if [ "$entries" != "entry 32x32 colours=16 bits=4 image bits=4" ]; then
  echo "icon group 1 holds: ${entries:-nothing}"
  exit 1
fi

drawn=$(echo "$actual" | grep -v '^entry ')
same_as_map "$drawn" || exit 1
transparent=$(echo "$drawn" | tr ' ' '\n' | grep -c '^\.$')
echo "icon: one 32x32 4-bit image; all 1024 pixels as mapped, $transparent transparent"

# The generator refuses maps it cannot draw faithfully.
legend=$(grep ' = ' "$map")
rows=$(grep -v '^#' "$map" | grep -v ' = ' | grep .)
colours=$(i=0; for c in A B C D E F G H I J K L M N O P Q; do i=$((i + 1)); printf '%s = %02x0000\n' $c $((i * 10)); done)
declare -A bad=(
  ["31 rows"]="$legend"$'\n'"$(echo "$rows" | head -31)"
  ["a row of 31"]="$legend"$'\n'"$(echo "$rows" | sed '5s/^.//')"
  ["a character outside the legend"]="$legend"$'\n'"$(echo "$rows" | sed '5s/^./Z/')"
  ["17 colours"]="$colours"$'\n'"$(echo "$rows" | tr 'KRp' 'A')"
)
for case in "${!bad[@]}"; do
  echo "${bad[$case]}" >bad.txt
  if python3 "$PELLORY_ROOT/res/make_ico.py" bad.txt bad.ico 2>/dev/null; then
    echo "make_ico.py accepted a map with $case"
    exit 1
  fi
  echo "refused: $case"
done
