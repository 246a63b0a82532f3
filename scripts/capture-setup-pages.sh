#!/usr/bin/env bash
# Makes the pictures of docs/setup-pages.md: every page and message of the four setup components
# (emailsetup, calsetup, contactsetup, setupwizard) as a person meets them, and the host's whole
# wizard over them, under a virtual display, against the simulated host (hostsim.dll). The Wine
# prefix is one of its own, in which Wine draws the window frames itself (there is no window
# manager to draw the captions) and has its own fonts.
# Usage: scripts/capture-setup-pages.sh [BUILD_DIR]   (default: build/win32, configured with the
# win32 preset)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
build="${1:-build/win32}"
output=docs/images/setup

cmake --build "$build" --target setup_pages_capture
export GWS_WINEPREFIX="$PWD/$build/wineprefix-capture"
run() { cmake/wine-run.sh "$@"; }
run reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null
# Wine's own Tahoma and MS Sans Serif (Debian's fonts-wine), which this Wine looks for in the
# prefix; without them the dialog font falls back to a much wider one.
fonts=/usr/share/wine/fonts
[ -d "$fonts" ] || { echo "$fonts is missing: install fonts-wine" >&2; exit 1; }
cp "$fonts"/*.ttf "$fonts"/*.fon "$GWS_WINEPREFIX/drive_c/windows/Fonts/"
for server in emailsetup calsetup contactsetup setupwizard hostsim; do
  run regsvr32 /s "$build/bin/$server.dll"
done
# Wine's desktop started without a display would stay for the next program, which could then
# show no window; let it end first.
WINEPREFIX="$GWS_WINEPREFIX" wineserver -w

pictures="$(mktemp -d)"
trap 'rm -rf "$pictures"' EXIT
xvfb-run -a -s "-screen 0 1024x768x24" \
  cmake/wine-run.sh "$build/bin/setup_pages_capture.exe" "Z:$pictures"
mkdir -p "$output"
for bmp in "$pictures"/*.bmp; do
  png="$output/$(basename "${bmp%.bmp}").png"
  python3 tests/wine/bmp_to_png.py "$bmp" "$png"
  echo "wrote $png"
done
