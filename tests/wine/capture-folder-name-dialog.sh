#!/usr/bin/env bash
# Makes docs/images/folder-name-dialog.png: the folder-name dialog as the plug-in shows it,
# under a virtual display. The Wine prefix is one of its own, in which Wine draws the window
# frames itself (there is no window manager to draw the caption) and has its own fonts.
# Usage: tests/wine/capture-folder-name-dialog.sh [BUILD_DIR]   (default: build/win32, configured
# with the win32 preset)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
build="${1:-build/win32}"
output=docs/images/folder-name-dialog.png

cmake --build "$build" --target folder_name_dialog_capture
export GWS_WINEPREFIX="$PWD/$build/wineprefix-capture"
cmake/wine-run.sh reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null
# Wine's desktop started without a display would stay for the next program; let it end first.
WINEPREFIX="$GWS_WINEPREFIX" wineserver -w
# Wine's own Tahoma and MS Sans Serif (Debian's fonts-wine), which this Wine looks for in the
# prefix; without them the dialog font falls back to a much wider one.
fonts=/usr/share/wine/fonts
[ -d "$fonts" ] || { echo "$fonts is missing: install fonts-wine" >&2; exit 1; }
cp "$fonts"/*.ttf "$fonts"/*.fon "$GWS_WINEPREFIX/drive_c/windows/Fonts/"

bmp="$(mktemp --suffix=.bmp)"
trap 'rm -f "$bmp"' EXIT
xvfb-run -a -s "-screen 0 1024x768x24" \
  cmake/wine-run.sh "$build/bin/folder_name_dialog_capture.exe" "Z:$bmp"
mkdir -p "$(dirname "$output")"
python3 tests/wine/bmp_to_png.py "$bmp" "$output"
echo "wrote $output"
