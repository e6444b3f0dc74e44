#!/usr/bin/env bash
# Runs clang-tidy 14 (the checks of the root's .clang-tidy) over every
# translation unit of ours in build/native/compile_commands.json and, where
# those builds have written theirs, over the fuzz targets of build/fuzz and
# the Win32 sources of build/win64 (platform/win32, tools), two at a time.
# Prints the findings, then one line
# "clang-tidy: N translation units, M findings" (a finding in a header that
# several units include counts once); fails when M > 0.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${PELLORY_BUILD:-build}
command -v clang-tidy-14 >/dev/null || { echo "clang-tidy-14 is not installed" >&2; exit 2; }
[ -f "$build/native/compile_commands.json" ] || { echo "no $build/native yet: bash scripts/build.sh" >&2; exit 2; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# The sources of a compile_commands.json under this folder, relative to it,
# whose paths match the pattern.
sources() {
  python3 - "$1" "$PWD/" "$2" <<'EOF'
import json, re, sys
commands, root, pattern = sys.argv[1:]
for entry in json.load(open(commands)):
    path = entry["file"]
    if path.startswith(root) and re.match(pattern, path[len(root):]):
        print(path[len(root):])
EOF
}

# One translation unit: FILE BUILD_DIR [CLANG_TIDY_ARGS...]; its findings go
# into a file of their own, so that two runs never mix their lines. The
# compile commands are GCC's: clang is told to pass over the warning options
# that only GCC knows (-Wlogical-op, ...).
tidy_one() {
  local file=$1 dir=$2
  shift 2
  clang-tidy-14 -p "$dir" --quiet --extra-arg=-Wno-unknown-warning-option "$@" "$file" \
    >"$(mktemp "$out/XXXXXX")" 2>/dev/null || true
}
export -f tidy_one
export out

units=0
# BUILD_DIR PATTERN [CLANG_TIDY_ARGS...]
tidy_build() {
  local dir=$1 pattern=$2
  shift 2
  local files
  mapfile -t files < <(sources "$dir/compile_commands.json" "$pattern")
  units=$((units + ${#files[@]}))
  printf '%s\n' "${files[@]}" | xargs -P2 -I{} bash -c 'tidy_one "$@"' _ {} "$dir" "$@"
}

tidy_build "$build/native" '(app|detect|log|shutdown|ui|platform|tests|bench)/'
# The fuzz targets are built only by clang, in a folder of their own (scripts/fuzz.sh).
if [ -f "$build/fuzz/compile_commands.json" ]; then
  tidy_build "$build/fuzz" 'tests/fuzz/'
fi

# The Win32 sources, read as MinGW's g++ reads them: clang takes the target
# from the compiler's name but does not find the C++ headers of Debian's
# MinGW GCC (its version folder is "12-win32"), so the search list is GCC's,
# with clang's own headers in place of GCC's.
if [ -f "$build/win64/compile_commands.json" ]; then
  resource=$(clang-14 -print-resource-dir)
  win_args=(--extra-arg=-nostdinc --extra-arg=-nostdinc++)
  while read -r include; do
    case $include in
      */include/c++*|*-mingw32/include) win_args+=("--extra-arg=-isystem$include") ;;
      */include) win_args+=("--extra-arg=-isystem$resource/include") ;;
    esac
  done < <(x86_64-w64-mingw32-g++ -x c++ -E -v /dev/null 2>&1 >/dev/null | sed -n '/^#include <\.\.\.>/,/^End/s/^ //p')
  tidy_build "$build/win64" '(platform/win32|tools)/' "${win_args[@]}"
fi

cat "$out"/* 2>/dev/null || true
# A finding is a warning or an error, with or without a place in a file.
findings=$(cat "$out"/* 2>/dev/null | grep -E '^([^ ]+:[0-9]+:[0-9]+: )?(warning|error): ' | sort -u | wc -l || true)
echo "clang-tidy: $units translation units, $findings findings"
[ "$findings" -eq 0 ]
