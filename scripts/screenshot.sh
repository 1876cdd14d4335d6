#!/usr/bin/env bash
# Draws docs/editor.png, docs/preferences.png and docs/arrows.png: the real
# editor, its speed profile editor and its arrow colour editor on a scratch copy
# of the demo skin, on a virtual X display. Usage: scripts/screenshot.sh [BUILD_DIR]
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
# Two faults for the checker to outline on the canvas: "speech" covers "home"
# (a warning) and "quit" reaches below the screen (an error).
for file in "$scratch/DemoSkin/mainmenult.ini" "$scratch/DemoSkin/Layout/mainmenult.ini"; do
  sed -i -e '/^\[speech\]/,/^cy/ s/^x= 125/x= 100/' -e '/^\[quit\]/,/^cy/ s/^y= 222/y= 290/' "$file"
done
# A program folder of its own, so the screenshot never touches the build's Tivaro.ini.
mkdir -p "$scratch/program"
cp "$build/bin/tivaro" "$scratch/program/"
ln -s "$(realpath "$build/bin/pics")" "$scratch/program/pics"
# The skin manager shows the scratch skin, whose NavLib.ini opens the arrow colours.
printf '[Directory]\r\nSkinDir= %s/\r\n' "$scratch/DemoSkin" >"$scratch/program/Tivaro.ini"

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
# After Prüfen, with an element picked, so the picture shows the menus, the
# docks, the findings outlined on the canvas and the status bar.
if [ -n "$window" ]; then
  eval "$(xdotool getwindowgeometry --shell "$window")"
  xdotool windowfocus --sync "$window" key alt+d p # Datei, Prüfen
  sleep 1
  xdotool key shift+Down
  xdotool mousemove --sync $((X + 100)) $((Y + 400)) # the status bar shows no pointer position
  sleep 1
fi
import -window root -crop "${WIDTH:-1280}x${HEIGHT:-1024}+${X:-0}+${Y:-0}" +repage docs/editor.png
echo "docs/editor.png written"

# The window with the title, once it shows.
window_titled() {
  local id
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 || true)
    [ -n "$id" ] && { sleep 1; echo "$id"; return; }
    sleep 0.1
  done
  echo "no window titled $1" >&2
  exit 1
}
# Clicks at a position inside a window.
click_in() { # window x y [clicks]
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove --sync $((X + $2)) $((Y + $3)) click --repeat "${4:-1}" --delay 100 1
}
editor=${window:-$(xdotool search --name '^Tivaro$' | head -1)}

xdotool windowfocus --sync "$editor" key alt+x g # Extras, Geschwindigkeitsprofile… ("Misc")
preferences=$(window_titled Preferences)
import -window "$preferences" docs/preferences.png
echo "docs/preferences.png written"
xdotool windowfocus --sync "$preferences" key Escape

xdotool windowfocus --sync "$editor" key alt+x s # Extras, Skins…
skins=$(window_titled 'to the PDA')
click_in "$skins" 288 125 2 # "NavLib.ini" in the Root list
arrows=$(window_titled NavLib.ini)
import -window "$arrows" docs/arrows.png
echo "docs/arrows.png written"
