# Sourced by scripts/e2e-test.sh for every end-to-end test script: the helpers
# each of them uses, defined once.

# Ends the test with its reason.
fail() { echo "FAIL: $*"; exit 1; }
# The desktop driver of the test folder (tools/driver.cpp), in the foreground.
drv() { wine_run driver.exe "$@"; }
