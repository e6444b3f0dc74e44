#!/usr/bin/env bash
# Checks the sources without running them: clang-format's layout of every C++
# file we own (.clang-format), clang-tidy over the native build's translation
# units (.clang-tidy, build/native/compile_commands.json, which
# scripts/build.sh makes) and shellcheck over the scripts (.shellcheckrc).
# Each check prints its findings, then one line: what it checked, how many
# findings, and how long it took. All three run; any finding fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${PELLORY_BUILD:-build}

# shellcheck disable=SC2317  # run through timed, below
format_check() {
  local files out status=0 n
  mapfile -t files < <(git ls-files --cached --others --exclude-standard '*.cpp' '*.h' '*.c')
  out=$(clang-format --dry-run --Werror "${files[@]}" 2>&1) || status=$?
  n=$(grep -c ': error: code should be clang-formatted' <<<"$out" || true)
  [ -z "$out" ] || printf '%s\n' "$out"
  # A failure that names no file (a bad .clang-format, say) is a finding too.
  [ "$status" = 0 ] || [ "$n" != 0 ] || n=1
  echo "clang-format: ${#files[@]} files, $n findings"
  [ "$n" = 0 ]
}

# shellcheck disable=SC2317  # run through timed, below
tidy_check() {
  if [ -f scripts/tidy.sh ]; then
    bash scripts/tidy.sh
    return
  fi
  local db=$build/native/compile_commands.json units out status=0 n
  [ -f "$db" ] || { echo "clang-tidy: no $db (scripts/build.sh makes it)"; return 1; }
  # Ours: not the system's, not GoogleTest's.
  units=$(python3 - "$db" <<'PY'
import json, sys
files = {entry["file"] for entry in json.load(open(sys.argv[1]))}
print("\n".join(sorted(f for f in files if not f.startswith("/usr/") and "googletest" not in f.lower())))
PY
  )
  out=$(xargs -r -P "$(nproc)" -n 1 clang-tidy --quiet -p "$build/native" <<<"$units" 2>&1) || status=$?
  # A header's finding comes once from every unit that includes it.
  out=$(grep -E '^([^ ]+:[0-9]+:[0-9]+: )?(warning|error): ' <<<"$out" | sort -u || true)
  n=$(grep -c . <<<"$out" || true)
  [ -z "$out" ] || printf '%s\n' "$out"
  [ "$status" = 0 ] || [ "$n" != 0 ] || { echo "clang-tidy failed (exit $status) without a finding"; n=1; }
  echo "clang-tidy: $(grep -c . <<<"$units") translation units, $n findings"
  [ "$n" = 0 ]
}

# shellcheck disable=SC2317  # run through timed, below
shell_check() {
  local files out status=0 n f
  # Every script: .sh and .bash files (the sourced ones too) and the files
  # that start with a bash line; links to them are the same scripts.
  mapfile -t files < <(git ls-files --cached --others --exclude-standard scripts tests bench .ci | while read -r f; do
    [ ! -L "$f" ] || continue
    case ${f##*/} in
      *.sh | *.bash) echo "$f" ;;
      *.*) ;;
      *) if head -n 1 "$f" | grep -q '^#!.*\bbash\b'; then echo "$f"; fi ;;
    esac
  done)
  out=$(shellcheck -f gcc "${files[@]}" 2>&1) || status=$?
  n=$(grep -c . <<<"$out" || true)
  [ -z "$out" ] || printf '%s\n' "$out"
  [ "$status" = 0 ] || [ "$n" != 0 ] || n=1
  echo "shellcheck: ${#files[@]} scripts, $n findings"
  [ "$n" = 0 ]
}

# Runs one check and adds the seconds it took to its last line.
failed=0
timed() {
  local start=$SECONDS out status=0
  out=$("$@") || status=$?
  printf '%s (%d s)\n' "$out" $((SECONDS - start))
  [ "$status" = 0 ] || failed=1
}
timed format_check
timed tidy_check
timed shell_check
exit "$failed"
