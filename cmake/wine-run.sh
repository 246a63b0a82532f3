#!/usr/bin/env bash
# Runs a Windows program under Wine in a prefix kept inside the build tree, so tests never touch
# a user's own Wine setup. The first start creates the prefix; a lock keeps parallel tests from
# creating it twice.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
: "${GWS_WINEPREFIX:?GWS_WINEPREFIX must name the Wine prefix folder}"
export WINEPREFIX="$GWS_WINEPREFIX"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEARCH=win32
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock 9
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot --init >/dev/null 2>&1 || true
    wineserver -w || true
  fi
) 9>"$WINEPREFIX.lock"
exec wine "$@"
