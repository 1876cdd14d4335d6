#!/usr/bin/env bash
# Builds Tivaro and starts it on a scratch copy of the demo skin, with a scratch
# copy of the demo device and of the demo map export folder, so trying the
# editor never changes the repository. The copies are made once and kept, edits
# included; "--fresh" replaces them with the samples again.
#   bash scripts/run.sh [--fresh] [SKIN_FOLDER]
set -euo pipefail

fresh=0
if [ "${1:-}" = --fresh ]; then
  fresh=1
  shift
fi
skin=""
[ -n "${1:-}" ] && skin=$(realpath -m -- "$1")
cd "$(dirname "$0")/.."

# Said before the build, not after it: without a display the editor cannot start.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found (neither DISPLAY nor WAYLAND_DISPLAY is set)." >&2
  echo "Run it on a desktop, or on a virtual display: xvfb-run bash scripts/run.sh (package xvfb)" >&2
  exit 1
fi

bash scripts/deps.sh

build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTIVARO_TESTS=OFF >/dev/null
cmake --build "$build" --parallel "$(nproc)"

scratch="$(pwd)/$build/scratch"
[ $fresh -eq 1 ] && rm -rf "$scratch"
# Each sample folder is copied only when its copy is missing, so edits survive the next start.
mkdir -p "$scratch"
for sample in samples/*/; do
  name=$(basename "$sample")
  [ -e "$scratch/$name" ] || cp -r "$sample" "$scratch/$name"
done

# Points the settings at the scratch copies; every other setting stays as it is.
settings="$build/bin/Tivaro.ini"
ini_set() { # section key value
  local tmp
  tmp=$(mktemp)
  [ -f "$settings" ] || printf '' > "$settings"
  INI_S="[$1]" INI_K="$2" INI_V="$3" awk '
    BEGIN { s = ENVIRON["INI_S"]; k = ENVIRON["INI_K"]; v = ENVIRON["INI_V"] }
    function flush() { if (insec && !done) { print k "= " v "\r"; done = 1 } }
    { line = $0; sub(/\r$/, "", line) }
    line ~ /^\[/ { flush(); insec = (tolower(line) == tolower(s)) }
    insec && tolower(line) ~ "^" tolower(k) "[ \t]*=" { print k "= " v "\r"; done = 1; next }
    { print }
    END { flush(); if (!done) { print s "\r"; print k "= " v "\r" } }' "$settings" > "$tmp"
  mv "$tmp" "$settings"
}
ini_set Directory SkinDir "$scratch/DemoSkin"
ini_set Directory MN4Dir '\MN4\MobileNavigator.exe'
ini_set Directory MapExportDir "$scratch/map-export"
ini_set Device Backend folder
ini_set Device Folder "$scratch/demo-device"

exec "$build/bin/tivaro" "${skin:-$scratch/DemoSkin}"
