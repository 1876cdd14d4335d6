#!/usr/bin/env bash
# Draws docs/editor.png: the real editor on a scratch copy of the demo skin,
# on a virtual X display. Usage: scripts/screenshot.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/release}
if [ ! -x "$build/bin/tivaro" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTIVARO_TESTS=OFF >/dev/null
  cmake --build "$build" --parallel 2 --target tivaro
fi

scratch=$(mktemp -d)
trap 'kill "${app:-}" "${xvfb:-}" 2>/dev/null || true; rm -rf "$scratch"' EXIT
cp -r samples/DemoSkin "$scratch/DemoSkin"
# A program folder of its own, so the screenshot never touches the build's Tivaro.ini.
mkdir -p "$scratch/program"
cp "$build/bin/tivaro" "$scratch/program/"
ln -s "$(realpath "$build/bin/pics")" "$scratch/program/pics"

display=:$((90 + RANDOM % 100))
# A display of 1280 x 1024 opens the editor at 2x, with the element list beside it.
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp &
xvfb=$!
export DISPLAY=$display QT_QPA_PLATFORM=xcb
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

"$scratch/program/tivaro" "$scratch/DemoSkin" &
app=$!
sleep 3

mkdir -p docs
# Only the editor's window when it can be found, else the whole screen.
window=$(xdotool search --name '^Tivaro$' 2>/dev/null | head -1 || true)
import -window "${window:-root}" docs/editor.png
echo "docs/editor.png written"
