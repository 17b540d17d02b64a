#!/usr/bin/env bash
# Builds the zip with CPack and checks what a plant engineer finds in it.
set -euo pipefail
cpack=$1 config=$2 work=$3
fail() { echo "FAIL: $*"; exit 1; }
rm -rf "$work" && mkdir -p "$work"
"$cpack" --config "$config" -B "$work" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; fail "cpack failed"; }
zip=$(ls "$work"/*.zip 2>/dev/null | head -1)
[ -n "$zip" ] || fail "cpack made no zip"
entries=$(python3 -c "import sys, zipfile; print(chr(10).join(zipfile.ZipFile(sys.argv[1]).namelist()))" "$zip" | sed 's|^[^/]*/||')
for needed in rizuz.dll RIZUZ01.INT README.md docs/addresses.md docs/init-file.md docs/nuvhost.md \
              docs/scenarios.md docs/soft-card.md docs/installing.md simulator/nuvhost.exe simulator/rizuz.dll \
              simulator/CIF95DLL.dll simulator/PALKIT.dll simulator/RIZUZ01.INT simulator/demo.scn; do
  grep -qx "$needed" <<<"$entries" || fail "$(basename "$zip") lacks $needed"
done
# The stand-ins must not sit next to the driver, where they would replace the real libraries.
if grep -Eqx 'CIF95DLL.dll|PALKIT.dll' <<<"$entries"; then fail "a stand-in DLL lies next to rizuz.dll"; fi
echo "OK: $(basename "$zip") holds the driver, the init file, the docs and the simulator"
