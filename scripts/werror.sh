#!/usr/bin/env bash
# Prints the value the build scripts give the CMake option PELLORY_WERROR:
# warnings fail the build in CI (CI=true) and under scripts/test.sh, which
# exports PELLORY_WERROR=ON; a developer's build keeps them as warnings.
set -euo pipefail
if [ "${CI:-}" = true ]; then
  echo ON
else
  echo "${PELLORY_WERROR:-OFF}"
fi
