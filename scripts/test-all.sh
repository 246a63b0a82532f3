#!/usr/bin/env bash
# Configures, builds and tests every preset: native (Debug), native-asan (sanitizers and
# fuzzers) and win32 (MinGW build, tests under Wine); release only builds the record benchmark
# (-O2), so that it keeps compiling, and does not time it (scripts/bench.sh does). Stops at the
# first failure.
# Usage: scripts/test-all.sh [PRESET...]   (default: all four)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(native native-asan win32 release)

for preset in "${presets[@]}"; do
  echo "=== ${preset}"
  start=$SECONDS
  if [ "${preset}" = win32 ]; then
    # The COM servers' tests show real dialogs and message boxes (and close them themselves);
    # they need a display, and a virtual one keeps them off anyone's screen.
    xvfb-run -a -s "-screen 0 1024x768x24" cmake --workflow --preset "${preset}"
  else
    cmake --workflow --preset "${preset}"
  fi
  echo "=== ${preset}: passed in $((SECONDS - start)) s"
done
