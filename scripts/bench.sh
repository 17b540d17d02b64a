#!/usr/bin/env bash
# Builds the benchmarks (default preset), runs them and prints one table:
# case, ns per request through NuvMain, the floor (the same card call made
# directly plus a copy of the same bytes), their ratio, and the target where
# there is one. Times are CPU times, the least of the repetitions, which run
# in random order so that a noisy neighbour spreads over all cases.
#   BENCH_FILTER       regular expression of the cases to run (default: all)
#   BENCH_REPETITIONS  repetitions of each case (default 9)
#   BENCH_MIN_TIME     seconds each repetition runs at least (default 0.1)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh >/dev/null
cmake --preset default >/dev/null
cmake --build --preset default -j 2 --target rizuz_bench >/dev/null

results=build/default/bench/results.json
build/default/bench/rizuz_bench \
  --benchmark_filter="${BENCH_FILTER:-.}" \
  --benchmark_repetitions="${BENCH_REPETITIONS:-9}" \
  --benchmark_min_time="${BENCH_MIN_TIME:-0.1}" \
  --benchmark_enable_random_interleaving=true \
  --benchmark_out="$results" --benchmark_out_format=json >/dev/null 2>build/default/bench/run.log

python3 - "$results" <<'PY'
import json, sys

data = json.load(open(sys.argv[1]))
times, errors = {}, {}
for b in data["benchmarks"]:
    name = b.get("run_name", b["name"])
    if b.get("error_occurred"):
        errors[name] = b.get("error_message", "error")
    elif b.get("run_type", "iteration") == "iteration":
        scale = {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}[b.get("time_unit", "ns")]
        times[name] = min(times.get(name, float("inf")), b["cpu_time"] * scale)

def target(case):
    if case.startswith("parse/"):
        return "< 100 ns", lambda ns, ratio: ns < 100
    if case.startswith(("read/", "write/")):
        return "<= 2x", lambda ns, ratio: ratio <= 2
    if case.startswith("block") and case.endswith("swap+convert"):
        return "<= 3x", lambda ns, ratio: ratio <= 3
    return "", None

ctx = data.get("context", {})
print(f"# {ctx.get('host_name', '?')}, {ctx.get('num_cpus', '?')} CPUs at {ctx.get('mhz_per_cpu', '?')} MHz, "
      f"{ctx.get('library_build_type', '?')} benchmark library, {ctx.get('date', '')}")
print(f"| {'case':<40} | {'ns/request':>10} | {'floor ns':>8} | {'ratio':>6} | {'target':<8} | met |")
print(f"|{'-' * 42}|{'-' * 12}|{'-' * 10}|{'-' * 8}|{'-' * 10}|-----|")
missed = 0
ORDER = ["parse/", "read/", "write/type", "write/bit", "block read", "block write", "raw", "diag"]
def order(case):
    group = next((i for i, prefix in enumerate(ORDER) if case.startswith(prefix)), len(ORDER))
    return (group, "swap+convert" in case, case)

cases = {n for n in list(times) + list(errors) if not n.endswith(" [floor]")}
for case in sorted(cases, key=order):
    if case in errors:
        print(f"| {case:<40} | {'error: ' + errors[case]} |")
        missed += 1
        continue
    ns, floor = times[case], times.get(case + " [floor]")
    ratio = ns / floor if floor else float("nan")
    goal, met = target(case)
    mark = "" if met is None else ("yes" if met(ns, ratio) else "NO")
    missed += mark == "NO"
    print(f"| {case:<40} | {ns:>10.1f} | {floor:>8.1f} | {ratio:>6.2f} | {goal:<8} | {mark:<3} |")
print(f"\n{missed} case(s) miss their target or failed.")
PY
