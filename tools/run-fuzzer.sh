#!/usr/bin/env bash
# Runs one fuzz target of a fuzz build: its seed corpus first, then SECONDS of
# fuzzing. New inputs go to BUILD/corpus/TARGET, a crash to BUILD/crashes.
# Prints the executions and the time in one closing line.
set -euo pipefail
build=${1:?usage: run-fuzzer.sh BUILD TARGET SECONDS}
target=${2:?usage: run-fuzzer.sh BUILD TARGET SECONDS}
seconds=${3:?usage: run-fuzzer.sh BUILD TARGET SECONDS}
root=$(cd "$(dirname "$0")/.." && pwd)
case $target in
  project_load | module_load) dict=project.dict ;;
  runtime_load) dict=runtime.dict ;;
  csv_read) dict=csv.dict ;;
  udp_datagram) dict=udp.dict ;;
  *) echo "run-fuzzer.sh: unknown target $target" >&2; exit 2 ;;
esac
program=$build/fuzz/zor2_fuzz_$target
seeds=$build/fuzz/seeds/$target
corpus=$build/corpus/$target
mkdir -p "$corpus" "$build/crashes"
log=$build/fuzz-$target.log
start=$(date +%s)
# Every seed must pass on its own before fuzzing starts from them.
"$program" -runs=0 "$seeds" >"$log" 2>&1 || { cat "$log"; exit 1; }
ASAN_OPTIONS=detect_leaks=1 "$program" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -max_len=65536 -dict="$root/fuzz/$dict" -artifact_prefix="$build/crashes/$target-" -print_final_stats=1 \
  "$corpus" "$seeds" >>"$log" 2>&1 || { tail -60 "$log"; exit 1; }
runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | tail -1 | grep -o '[0-9]*$')
echo "fuzz $target: ${runs:-0} executions in $(( $(date +%s) - start )) s, no fault"
