#!/usr/bin/env bash
# Every test of the project: builds the presets and runs their suites.
#   default  native build, unit and integration tests
#   x86      32-bit build (the host's record layout), tests under qemu-i386
#   asan     native build under AddressSanitizer + UndefinedBehaviorSanitizer
#   win32    the Windows DLL and its artifact checks
# Extra steps (fuzz smoke runs) are added by scripts/test.d/*.sh when present.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

jobs=$(nproc)
presets=${RIZUZ_PRESETS:-"default x86 asan win32"}
for preset in $presets; do
  echo "=== $preset ==="
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs"
done

for step in scripts/test.d/*.sh; do
  [ -e "$step" ] || continue
  echo "=== $(basename "$step" .sh) ==="
  bash "$step"
done
echo "=== all tests passed ==="
