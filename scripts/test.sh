#!/usr/bin/env bash
# Builds the whole test suite with AddressSanitizer and UBSan and runs it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh

build=build/test
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTIVARO_SANITIZE=ON -DTIVARO_TESTS=ON >/dev/null
cmake --build "$build" --parallel "$(nproc)"

cd "$build"
export QT_QPA_PLATFORM=offscreen
ctest --output-on-failure --parallel "$(nproc)"
