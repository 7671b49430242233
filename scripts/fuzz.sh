#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang and runs each for a bounded time
# from a copy of its committed seed corpus. Any crash, leak, sanitizer report,
# broken invariant or hung input fails the run.
#   FUZZ_SECONDS  time per fuzzer (default 60)
#   FUZZ_JOBS     fuzzers run side by side (default 2)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-60}
jobs=${FUZZ_JOBS:-2}
fuzzers=(fuzz_exchange fuzz_ini fuzz_text fuzz_blocks)

# The fuzzers need clang and its libFuzzer runtime on top of the usual packages.
bash scripts/deps.sh clang libclang-rt-14-dev

build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -DKRN310_FUZZ=ON -DKRN310_TESTS=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target "${fuzzers[@]}" -j2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
artifacts="$build/fuzz-artifacts"
mkdir -p "$artifacts"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

# Inputs longer than the default let one arrival exceed the 1024-byte chunk.
max_len() {
  case "$1" in
    fuzz_exchange) echo 8192 ;;
    fuzz_blocks) echo 2048 ;;
    *) echo 4096 ;;
  esac
}

run_fuzzer() {
  local name=$1
  local corpus="$work/corpus/$name"
  mkdir -p "$corpus" "$work/artifacts/$name"
  cp -r "fuzz/corpus/$name/." "$corpus/"
  "$build/fuzz/$name" "$corpus" \
    -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -max_len="$(max_len "$name")" \
    -artifact_prefix="$work/artifacts/$name/" -print_final_stats=1 >"$work/$name.log" 2>&1
}

report() {
  local name=$1 status=$2
  local log="$work/$name.log"
  if [ "$status" -ne 0 ] || grep -qE "runtime error|ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|invariant broken" "$log"; then
    echo "FAIL $name (exit $status)"
    grep -vE "^#[0-9]+" "$log" | tail -n 60
    cp -r "$work/artifacts/$name" "$artifacts/" 2>/dev/null || true
    echo "Inputs kept in $artifacts/$name"
    return 1
  fi
  echo "ok   $name: $(grep -m1 -oE 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$') runs in ${seconds} s"
}

failed=0
for ((i = 0; i < ${#fuzzers[@]}; i += jobs)); do
  batch=("${fuzzers[@]:i:jobs}")
  pids=()
  for name in "${batch[@]}"; do
    run_fuzzer "$name" &
    pids+=($!)
  done
  for k in "${!batch[@]}"; do
    status=0
    wait "${pids[$k]}" || status=$?
    report "${batch[$k]}" "$status" || failed=1
  done
done
exit "$failed"
