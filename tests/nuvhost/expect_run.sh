#!/usr/bin/env bash
# Runs a command and checks its exit status and what it printed.
#   expect_run.sh STATUS PATTERN [PATTERN...] -- COMMAND...
# Each PATTERN is an extended regular expression that some line of the
# combined standard output and error must match; a PATTERN starting with !
# must match no line.
set -uo pipefail
status=$1; shift
patterns=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do patterns+=("$1"); shift; done
shift
output=$("$@" 2>&1)
actual=$?
fail() { printf '%s\n' "$output"; echo "FAIL: $*"; exit 1; }
[ "$actual" -eq "$status" ] || fail "exit status $actual, expected $status"
for pattern in "${patterns[@]}"; do
  if [ "${pattern:0:1}" = "!" ]; then
    if grep -Eq -- "${pattern:1}" <<<"$output"; then fail "printed a line matching: ${pattern:1}"; fi
  else
    grep -Eq -- "$pattern" <<<"$output" || fail "printed no line matching: $pattern"
  fi
done
echo "OK: exit status $actual"
