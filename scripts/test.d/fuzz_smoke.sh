#!/usr/bin/env bash
# Fuzz smoke runs: builds the fuzz preset (clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs every fuzz target for a short while
# (FUZZ_SECONDS each, default 25) from its committed corpus. New inputs go to a
# scratch folder, never into fuzz/corpus/; an input that breaks the driver is
# left in build/fuzz/artifacts/ (add it to fuzz/corpus/<target>/ once mended,
# and the corpus replay tests keep it as a regression test).
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)
seconds=${FUZZ_SECONDS:-25}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"

artifacts=$root/build/fuzz/artifacts
mkdir -p "$artifacts"
targets=$(sed -n 's/^set(RIZUZ_FUZZ_TARGETS \(.*\))$/\1/p' fuzz/targets.cmake)
status=0
for target in $targets; do
  scratch=$(mktemp -d)
  log=$artifacts/$target.log
  # Paths are absolute: the targets work in a scratch directory of their own.
  if build/fuzz/fuzz/fuzz_"$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
       -artifact_prefix="$artifacts/$target-" "$scratch" "$root/fuzz/corpus/$target" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz_$target: $runs inputs in $seconds s, no finding"
  else
    echo "fuzz_$target: FINDING (input in $artifacts/, log $log)"
    grep -E 'ERROR|invariant|SUMMARY|^    #[0-9]' "$log" | head -30
    status=1
  fi
  rm -rf "$scratch"
done
exit $status
