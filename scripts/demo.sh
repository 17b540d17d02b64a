#!/usr/bin/env bash
# The main job: build the native driver and run the demo.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)"
ctest --preset default -R Dispatch
