#!/usr/bin/env bash
# Installs what is missing, builds the configurator and starts it against a
# simulated KRN-310 on loopback (no printer needed).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target krn310-config krn310-sim -j"$(nproc)"
exec build/bin/krn310-config --demo "$@"
