#!/usr/bin/env bash
# Runs one fuzzer for a bounded time, first over its kept corpus (seeds and
# the reproducers of faults found before), and prints one summary line: runs,
# seconds, executions per second, coverage and corpus size. Fails on any
# finding (crash, sanitizer report, broken check, time-out, memory blow-up),
# showing the end of the fuzzer's output and where the input was kept.
# Usage: run_fuzzer.sh FUZZER NAME SECONDS FUZZ_SOURCE_DIR BUILD_DIR
set -uo pipefail
exe=$1 name=$2 seconds=$3 src=$4 out=$5
seeds=$src/corpus/$name
work=$out/corpus/$name  # what this run adds; the kept corpus is never written
findings=$out/findings
logs=$out/logs
mkdir -p "$work" "$findings" "$logs"
log=$logs/$name.log
args=(-max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1
  -artifact_prefix="$findings/$name-")
[ -f "$src/$name.dict" ] && args+=(-dict="$src/$name.dict")
# The inputs this fuzzer has left in the findings folder.
found_inputs() { find "$findings" -maxdepth 1 -name "$name-*" "$@"; }
before=$(found_inputs | wc -l)
"$exe" "${args[@]}" "$work" "$seeds" >"$log" 2>&1
rc=$?
after=$(found_inputs | wc -l)

stat() { sed -n "s/^stat::$1: *//p" "$log" | tail -n 1; }
runs=$(stat number_of_executed_units)
rate=$(stat average_exec_per_sec)
secs=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -n 1)
last=$(grep -E '^#[0-9]+' "$log" | tail -n 1)
cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
corp=$(sed -n 's/.* corp: \([0-9]*\).*/\1/p' <<<"$last")
kept=$(find "$seeds" -mindepth 1 -maxdepth 1 -not -name '.*' | wc -l)
found=$((after - before))
[ "$rc" -ne 0 ] && [ "$found" -eq 0 ] && found=1
line="fuzz $name: ${runs:-?} runs in ${secs:-?} s (${rate:-?} exec/s), coverage ${cov:-?} edges / ${ft:-?} features, corpus ${corp:-?} inputs (${kept} kept), findings $found"
echo "$line" | tee "$logs/$name.summary"
if [ "$rc" -ne 0 ]; then
  echo "--- end of the fuzzer's output ($log):"
  tail -n 60 "$log"
  echo "--- inputs kept under $findings:"
  found_inputs -exec ls -l {} +
  exit 1
fi
