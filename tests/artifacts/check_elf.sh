#!/usr/bin/env bash
# The shared object as a loading process sees it: the expected ELF class,
# NuvMain defined and exported (and nothing else of ours), err and the eleven
# card calls left undefined for the process to supply.
set -euo pipefail
so=$1 class=$2
fail() { echo "FAIL: $*"; exit 1; }

readelf -h "$so" | grep -q "Class:.*$class" || fail "$so is not $class"
exported=$(nm -D --defined-only "$so" | awk '$2 ~ /^[TDB]$/ {print $3}' | grep -v '^_' || true)
[ "$exported" = "NuvMain" ] || fail "exports should be exactly NuvMain, are: $exported"
undefined=$(nm -D --undefined-only "$so" | awk '{print $2}' | sed 's/@.*//')
for symbol in err DevOpenDriver DevCloseDriver DevGetBoardInfo DevInitBoard DevExitBoard DevPutMessage \
              DevGetMessage DevGetInfo DevExchangeIO DevReadSendData DevSetHostState; do
  grep -qx "$symbol" <<<"$undefined" || fail "$symbol should be undefined in $so"
done
echo "OK: $so ($class) exports NuvMain; err and the eleven card calls are left to the loader"
