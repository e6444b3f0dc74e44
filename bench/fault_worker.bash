# One worker of the fault sweep (bench/fault_sweep.sh), run by
# scripts/e2e-test.sh in a Wine session of its own: each line of FAULT_LIST
# ("FUNCTION MODE") is one watch (tests/e2e/fault.bash), whose files go to
# FAULT_RUNS/FUNCTION_MODE and whose line is appended to FAULT_RESULTS as
# "FUNCTION<tab>MODE<tab>VERDICT<tab>OUTCOME".
source "$PELLORY_ROOT/tests/e2e/fault.bash"
# shellcheck disable=SC2153  # FAULT_LIST is set by bench/fault_sweep.sh, not a misspelt FAULT_LINE
while read -r function mode; do
  [ -n "$function" ] || continue
  FAULT_OUT="$FAULT_RUNS/${function}_${mode/:/-}"
  # A run the harness could not finish is run once more, then said so.
  if ! (fault_run "$function" "$mode") || [ "$(cat "$FAULT_OUT/verdict.txt")" = harness-error ]; then
    (fault_run "$function" "$mode") || true
  fi
  if [ ! -s "$FAULT_OUT/verdict.txt" ]; then
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    echo harness-error >"$FAULT_OUT/verdict.txt"
    echo "$function $mode: the harness could not finish the run" >"$FAULT_OUT/outcome.txt"
  fi
  line=$(cat "$FAULT_OUT/outcome.txt")
  printf '%s\t%s\t%s\t%s\n' "$function" "$mode" "$(cat "$FAULT_OUT/verdict.txt")" "${line#"$function $mode: "}" >>"$FAULT_RESULTS"
done <"$FAULT_LIST"
