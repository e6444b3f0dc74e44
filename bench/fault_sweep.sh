#!/usr/bin/env bash
# The fault sweep: every function the x86-64 program calls in a whole watch
# made to fail, one run each, judged from outside (tests/e2e/fault.bash).
#
# First a census run fails nothing and notes which functions the program
# calls before its first poll and from it on (tools/hook/fault_inject_hook.cpp).
# Then, for every function called in the watch that can fail
# (tools/hook/fault_table.h), one run with its first call failing; and for
# every one called in a poll or in the end sequence, one run with every call
# failing from the first poll on. The runs are shared among FAULT_SWEEP_JOBS
# Wine sessions (default 2), each with its own prefix and Xvfb under
# build/fault_sweep/; every run's files (seh.txt, journal.txt, the log before
# and after, outcome.txt) are kept under build/fault_sweep/runs/.
#
# Prints one line per function and mode, then one summary line:
#   fault sweep: N functions, C crashes, H hangs, L log faults, S unearned shutdowns
# Exit status 1 when any of those four counts is not 0.
#   FAULT_SWEEP_ONLY="NAME ..."  limits the runs to these functions
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build/fault_sweep
jobs=${FAULT_SWEEP_JOBS:-2}
table=$root/tools/hook/fault_table.h
started=$(date +%s)

bash scripts/win-build.sh x86_64 >/dev/null
rm -rf "$out/runs" "$out/lists" "$out/results"
mkdir -p "$out/runs" "$out/lists" "$out/results"

export PELLORY_WINE_BITS=64 PELLORY_WIN_DIR=$root/build/win64
session() {  # start|stop K
  PELLORY_WINE_DIR=$out/wine-$2 bash scripts/wine-session.sh "$1" >"$out/session-$2.log" 2>&1
}
stop_all() { for ((k = 0; k < jobs; k++)); do session stop "$k" || true; done; }
trap stop_all EXIT
for ((k = 0; k < jobs; k++)); do session start "$k" & done
wait

# worker K LIST RESULTS: the runs of LIST in session K.
worker() {
  PELLORY_WINE_DIR=$out/wine-$1 PELLORY_RESULTS=$out/e2e-results-$1 FAULT_LIST=$2 FAULT_RUNS=$out/runs \
    FAULT_RESULTS=$3 bash scripts/e2e-test.sh "$root/bench/fault_worker.bash" >"$out/worker-$1.log" 2>&1
}

# The census.
echo "census nth:1" >"$out/lists/census"
worker 0 "$out/lists/census" "$out/results/census.tsv" || true
journal=$out/runs/census_nth-1/journal.txt
[ -s "$journal" ] || { echo "the census run left no journal ($out/worker-0.log)" >&2; exit 2; }
grep -q '^poll' "$journal" || { echo "the census run saw no poll ($journal)" >&2; exit 2; }
sed -n 's/^call start //p' "$journal" | tr -d '\r' | sort -u >"$out/called-start.txt"
sed -n 's/^call poll //p' "$journal" | tr -d '\r' | sort -u >"$out/called-poll.txt"
sort -u "$out/called-start.txt" "$out/called-poll.txt" >"$out/called.txt"

# One row of the table: KIND<tab>WHY for a function.
row() {
  sed -n "s/^ *{\"[a-z0-9]*\", \"$1\", FaultKind::\([A-Za-z]*\), .*, \"\(.*\)\"},\$/\1\t\2/p" "$table" | head -n 1
}
: >"$out/lists/all"
: >"$out/results/not-run.tsv"
while read -r f; do
  if [ -n "${FAULT_SWEEP_ONLY:-}" ] && ! grep -qw -- "$f" <<<"$FAULT_SWEEP_ONLY"; then continue; fi
  r=$(row "$f")
  kind=${r%%$'\t'*}
  why=${r#*$'\t'}
  if [ "$kind" = Fails ]; then
    echo "$f nth:1" >>"$out/lists/all"
    grep -qx -- "$f" "$out/called-poll.txt" && echo "$f from:poll" >>"$out/lists/all"
  else
    printf '%s\t-\tok\tnot failed: %s (%s)\n' "$f" "${kind:-not in the table}" "$why" >>"$out/results/not-run.tsv"
  fi
done <"$out/called.txt"

# The runs, dealt out to the sessions.
for ((k = 0; k < jobs; k++)); do
  awk -v k="$k" -v n="$jobs" '(NR - 1) % n == k' "$out/lists/all" >"$out/lists/worker-$k"
done
for ((k = 0; k < jobs; k++)); do worker "$k" "$out/lists/worker-$k" "$out/results/worker-$k.tsv" & done
wait || true

all=$out/results/table.tsv
cat "$out"/results/worker-*.tsv "$out/results/not-run.tsv" 2>/dev/null | sort -t $'\t' -k1,1 -k2,2 >"$all"
ran=$(cat "$out"/results/worker-*.tsv 2>/dev/null | wc -l)
planned=$(wc -l <"$out/lists/all")
printf '%-28s %-10s %s\n' function mode outcome
while IFS=$'\t' read -r f m _ o; do printf '%-28s %-10s %s\n' "$f" "$m" "$o"; done <"$all"
count() { awk -F'\t' -v v="$1" '$3 == v' "$all" | wc -l; }
c=$(count crash) h=$(count hang) l=$(count log-fault) s=$(count unearned-shutdown)
n=$(wc -l <"$out/called.txt")
echo "$(wc -l <"$out/called-start.txt") functions called before the first poll, $(wc -l <"$out/called-poll.txt") from it on; $planned runs planned, $ran run; $(($(date +%s) - started)) s"
echo "fault sweep: $n functions, $c crashes, $h hangs, $l log faults, $s unearned shutdowns"
[ "$ran" = "$planned" ] && [ $((c + h + l + s)) = 0 ]
