#!/usr/bin/env bash
# The whole test suite: installs what is missing, builds, runs every test.
#   scripts/test.sh             the normal build
#   scripts/test.sh --sanitize  the same suite under ASan and UBSan
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh
dir=$(bash scripts/build.sh "$@" | tail -n 1)

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
ctest --test-dir "$dir" --output-on-failure -j"$(nproc)"
