#!/usr/bin/env bash
# Builds the release build (build/, as scripts/build.sh makes it) and runs
# every benchmark; each prints its figures as lines "name value unit".
#   scripts/bench.sh              in build/
#   KRN310_BENCH_DIR=dir scripts/bench.sh   in another build folder
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh
dir=${KRN310_BENCH_DIR:-build}
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKRN310_SANITIZE=OFF >/dev/null
cmake --build "$dir" -j"$(nproc)" --target \
  krn310-config krn310-bench-readall krn310-bench-idle krn310-bench-startup krn310-bench-minimal-window >/dev/null

export QT_QPA_PLATFORM=offscreen
export KRN310_LOOPBACK_ONLY=1
"$dir"/bin/krn310-bench-readall
"$dir"/bin/krn310-bench-idle
"$dir"/bin/krn310-bench-startup "$dir"/bin/krn310-config "$dir"/bin/krn310-bench-minimal-window
