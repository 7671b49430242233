#!/usr/bin/env bash
# Builds the configurator, the simulator and the tests.
#   scripts/build.sh            -> build/
#   scripts/build.sh --sanitize -> build-asan/ (AddressSanitizer + UBSan)
set -euo pipefail
cd "$(dirname "$0")/.."

dir=build
flags=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = "--sanitize" ]; then
  dir=build-asan
  flags=(-DCMAKE_BUILD_TYPE=Debug -DKRN310_SANITIZE=ON)
fi

cmake -S . -B "$dir" "${flags[@]}" >/dev/null
cmake --build "$dir" -j"$(nproc)"
echo "$dir"
