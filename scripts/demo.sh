#!/usr/bin/env bash
# The main job: build the driver and nuvhost, then run the demo scenario
# against the soft card and show its log. Exit status is nuvhost's: 0 when
# every expectation of the demo was met.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" --target nuvhost
exec build/default/nuvhost run examples/demo.scn "$@"
