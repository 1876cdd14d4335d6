#!/usr/bin/env bash
# Builds Tivaro and starts it on a scratch copy of the demo skin, so trying the
# editor never changes the repository.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh

build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTIVARO_TESTS=OFF >/dev/null
cmake --build "$build" --parallel "$(nproc)"

scratch="$build/scratch"
rm -rf "$scratch"
mkdir -p "$scratch"
cp -r samples/. "$scratch/"

skin="$scratch/DemoSkin"
exec "$build/bin/tivaro" "$skin"
