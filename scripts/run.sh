#!/usr/bin/env bash
# Builds Tivaro and starts it on a scratch copy of the demo skin, with a scratch
# copy of the demo device and of the demo map export folder, so trying the
# editor never changes the repository.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh

build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTIVARO_TESTS=OFF >/dev/null
cmake --build "$build" --parallel "$(nproc)"

scratch="$(pwd)/$build/scratch"
rm -rf "$scratch"
mkdir -p "$scratch"
cp -r samples/. "$scratch/"

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

exec "$build/bin/tivaro" "$scratch/DemoSkin"
