#!/usr/bin/env bash
# The DLL as the host's loader sees it: one export, NuvMain, undecorated;
# err imported by name from PALKIT.dll; the card calls imported from
# CIF95DLL.dll by ordinal only, exactly the ordinals the driver uses; no
# MinGW runtime DLL; NuvMain pops its one argument (ret $0x4).
set -euo pipefail
dll=$1 objdump=$2
fail() { echo "FAIL: $*"; exit 1; }
headers=$("$objdump" -p "$dll")

# Export table: the lines after "[Ordinal/Name Pointer] Table".
exports=$(awk '/\[Ordinal\/Name Pointer\] Table/ {on=1; next} on && /^[[:space:]]*\[/ {print $NF} on && /^$/ {on=0}' <<<"$headers")
[ "$exports" = "NuvMain" ] || fail "exports should be exactly NuvMain, are: $exports"

# Imports per DLL: "DLL Name: X" then one line per entry until a blank line.
imports_of() {
  awk -v dll="$1" '/DLL Name:/ {on = ($3 == dll); next} on && /^[[:space:]]*$/ {on=0} on && /^[[:space:]]+[0-9a-f]+[[:space:]]/ {print}' <<<"$headers"
}
palkit=$(imports_of PALKIT.dll | awk '{print $3}')
[ "$palkit" = "err" ] || fail "PALKIT.dll imports should be exactly err (by name), are: $palkit"

cif=$(imports_of CIF95DLL.dll)
[ -n "$cif" ] || fail "no imports from CIF95DLL.dll"
# An import by ordinal shows "<none>" as its name; by name it shows the name.
if awk '$3 != "<none>"' <<<"$cif" | grep -q .; then fail "CIF95DLL.dll imported by name: $cif"; fi
ordinals=$(awk '{print $2}' <<<"$cif" | sort -n | tr '\n' ' ' | sed 's/ $//')
[ "$ordinals" = "1 2 3 4 5 8 9 12 14 15 16" ] || fail "CIF95DLL.dll ordinals should be 1 2 3 4 5 8 9 12 14 15 16, are: $ordinals"

dlls=$(awk '/DLL Name:/ {print $3}' <<<"$headers")
if grep -Eiq 'libgcc|libstdc|libwinpthread|mingw' <<<"$dlls"; then fail "imports a MinGW runtime DLL: $dlls"; fi

disassembly=$("$objdump" -d "$dll")
body=$(awk '/<_NuvMain@4>:/ {on=1; next} on && /^$/ {on=0} on' <<<"$disassembly")
[ -n "$body" ] || fail "NuvMain not found in the disassembly"
rets=$(grep -E '[[:space:]]ret' <<<"$body" || true)
[ -n "$rets" ] || fail "NuvMain has no ret"
if grep -Ev 'ret[[:space:]]+\$0x4' <<<"$rets" | grep -q .; then fail "NuvMain returns without popping its argument: $rets"; fi
echo "OK: $dll exports NuvMain (stdcall, ret \$0x4); imports err from PALKIT.dll and ordinals $ordinals from CIF95DLL.dll"
