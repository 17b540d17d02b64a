#!/usr/bin/env bash
# The stand-ins the driver runs against on a machine without the host or the
# card, as the Windows loader sees them:
#   CIF95DLL.dll (the soft card) exports the eleven card calls, undecorated,
#     at exactly the ordinals rizuz.dll imports them by, and nothing else
#     below ordinal 100 (the control API for nuvhost.exe lies above);
#   PALKIT.dll exports err by name;
#   nuvhost.exe imports both and not the driver, which it loads at run time;
#   none of them needs a MinGW runtime DLL.
set -euo pipefail
softcard=$1 palkit=$2 nuvhost=$3 objdump=$4
fail() { echo "FAIL: $*"; exit 1; }

# "[index] name" lines of the export name table; the ordinal is index + base.
exports() {
  "$objdump" -p "$1" | awk '/Ordinal Base/ {base=$NF} /\[Ordinal\/Name Pointer\] Table/ {on=1; next}
    on && /^[[:space:]]*$/ {on=0} on {gsub(/[][]/, " "); print $1 + base, $2}'
}

expected="1 DevOpenDriver
2 DevCloseDriver
3 DevGetBoardInfo
4 DevInitBoard
5 DevExitBoard
8 DevPutMessage
9 DevGetMessage
12 DevGetInfo
14 DevExchangeIO
15 DevReadSendData
16 DevSetHostState"
card_calls=$(exports "$softcard" | awk '$1 < 100' | sort -n)
[ "$card_calls" = "$expected" ] || fail "CIF95DLL.dll exports below ordinal 100 should be
$expected
are:
$card_calls"
exports "$softcard" | awk '$1 >= 100 {print $2}' | grep -q '^_ZN8softcard9InputAreaEj$' ||
  fail "CIF95DLL.dll does not export the soft card's control API"

exports "$palkit" | awk '{print $2}' | grep -qx err || fail "PALKIT.dll does not export err by name"

dlls=$("$objdump" -p "$nuvhost" | awk '/DLL Name:/ {print $3}')
grep -qx CIF95DLL.dll <<<"$dlls" || fail "nuvhost.exe does not import CIF95DLL.dll"
grep -qx PALKIT.dll <<<"$dlls" || fail "nuvhost.exe does not import PALKIT.dll"
if grep -qix rizuz.dll <<<"$dlls"; then fail "nuvhost.exe imports rizuz.dll; it must load it at run time"; fi
for binary in "$softcard" "$palkit" "$nuvhost"; do
  if "$objdump" -p "$binary" | awk '/DLL Name:/ {print $3}' | grep -Eiq 'libgcc|libstdc|libwinpthread'; then
    fail "$binary needs a MinGW runtime DLL"
  fi
done
echo "OK: CIF95DLL.dll exports the eleven card calls at their ordinals; PALKIT.dll exports err; nuvhost.exe imports both"
