#!/usr/bin/env bash
# rizuz.dll's version resource as Windows shows it on the file's Details page:
# a resource section, the fixed file version, and the product name, file
# description and file version strings.
set -euo pipefail
dll=$1 objdump=$2 version=$3   # version: MAJOR.MINOR.PATCH
fail() { echo "FAIL: $*"; exit 1; }

"$objdump" -h "$dll" | grep -q '\.rsrc' || fail "$dll has no resource section"

# VS_FIXEDFILEINFO: signature FEEF04BD, structure version, then the file
# version as two little-endian words of two 16-bit halves each.
fixed=$(od -An -tx1 -v -w1 "$dll" | awk '
  found && n < 12 {printf "%s", $1; n++; next}
  !found {a = b; b = c; c = d; d = $1}
  a == "bd" && b == "04" && c == "ef" && d == "fe" {found = 1}')
[ ${#fixed} -eq 24 ] || fail "no VS_FIXEDFILEINFO in $dll"
word() { local w=${fixed:$1:8}; echo $((16#${w:6:2}${w:4:2}${w:2:2}${w:0:2})); }
ms=$(word 8) ls=$(word 16)
IFS=. read -r major minor patch <<<"$version"
[ $((ms >> 16)).$((ms & 65535)).$((ls >> 16)) = "$major.$minor.$patch" ] ||
  fail "fixed file version is $((ms >> 16)).$((ms & 65535)).$((ls >> 16)), expected $version"

# The string table, UTF-16: each key followed by its value.
texts=$(strings -el "$dll")
value_of() { awk -v key="$1" 'found {print; exit} $0 == key {found=1}' <<<"$texts"; }
[ "$(value_of ProductName)" = "RIZUZ" ] || fail "ProductName is '$(value_of ProductName)'"
description=$(value_of FileDescription)
[[ "$description" == *CIF30* ]] || fail "FileDescription is '$description'"
[ "$(value_of FileVersion)" = "$version" ] || fail "FileVersion is '$(value_of FileVersion)', expected $version"
echo "OK: $dll carries version $version, product RIZUZ, description '$description'"
