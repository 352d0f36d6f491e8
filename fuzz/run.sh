#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each one for a bounded time (default 30 seconds)
# on a scratch copy of its seed corpus. The saved regression inputs of each target are replayed
# first. Any crash, sanitizer report, timeout or memory blow-up fails the run; its input is left
# in fuzz/artifacts/ to be kept as a regression under fuzz/regressions/<target>/.
#   fuzz/run.sh [seconds] [target ...]
# FUZZ_SEED fixes the fuzzer's random seed (CI uses 1, so that a run explores the same inputs
# for the same code); without it every run explores afresh.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
shift || true
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DTRELMO_FUZZ=ON -DTRELMO_TESTS=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j"$(nproc)" >/dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in build-fuzz/fuzz/fuzz_*; do targets+=("$(basename "$f" | sed 's/^fuzz_//')"); done
fi
# A file may declare counts far beyond what it holds; the program sizes its arrays from them
# without touching the memory, which costs nothing, but AddressSanitizer maps shadow memory for
# every allocation. Requests above 1 GiB therefore fail here as on a machine without the memory
# (the program reports them as "Memory allocation failed"). The session target holds only small
# files, so there that report is a finding; it also runs under tighter memory and time limits.
export ASAN_OPTIONS=allocator_may_return_null=1:detect_leaks=1:max_allocation_size_mb=1024
mkdir -p fuzz/artifacts
for t in "${targets[@]}"; do
  bin=build-fuzz/fuzz/fuzz_$t
  limits=(-timeout=20 -rss_limit_mb=2048)
  [ "$t" = session ] && limits=(-timeout=10 -rss_limit_mb=1024)
  if [ -d "fuzz/regressions/$t" ] && [ -n "$(ls -A "fuzz/regressions/$t")" ]; then
    "$bin" -runs=0 "${limits[@]}" -malloc_limit_mb=200000 "$PWD"/fuzz/regressions/$t/* >/dev/null 2>&1 ||
      { echo "fuzz_$t: a saved regression input fails"; "$bin" -runs=0 "$PWD"/fuzz/regressions/$t/*; exit 1; }
  fi
  work=$(mktemp -d)
  cp -r "fuzz/corpus/$t/." "$work/" 2>/dev/null || true
  echo "fuzz_$t: ${seconds}s"
  seed_option=()
  [ -n "${FUZZ_SEED:-}" ] && seed_option=(-seed="$FUZZ_SEED")
  if ! "$bin" "$work" "${seed_option[@]}" -max_total_time="$seconds" "${limits[@]}" \
        -malloc_limit_mb=200000 -artifact_prefix="$PWD"/fuzz/artifacts/"$t"- -print_final_stats=1 \
        >"$work.log" 2>&1; then
    tail -n 60 "$work.log"
    echo "fuzz_$t: FAILED"
    exit 1
  fi
  grep -E 'stat::number_of_executed_units' "$work.log" || true
  rm -rf "$work" "$work.log"
done
