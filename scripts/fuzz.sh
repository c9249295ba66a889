#!/usr/bin/env bash
# Builds the libFuzzer targets in build-fuzz/ (Clang, with ASan and UBSan) and runs each for N
# inputs from its seed corpus, one line per target: inputs, seconds and what it found.
#
#   scripts/fuzz.sh N [TARGET...]     e.g. scripts/fuzz.sh 20000, scripts/fuzz.sh 100000 levels
#
# What a run finds is kept in build-fuzz/fuzz-out/<target>/ (the crashing input, crash-*) with the
# run's log; the status is non-zero when any target found a fault.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:?usage: scripts/fuzz.sh N [TARGET...]}
shift
build=$root/build-fuzz

all=(image_pack image dds wav x_model font levels level_source settings records boss_file
  record_codec score_request)
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=("${all[@]}")

# Inputs are cut to this many bytes: enough for every header and table, and a few whole
# pictures of a pack, while a run stays fast.
max_len() {
  case $1 in
    image_pack | image | font) echo 65536 ;;
    wav | dds) echo 8192 ;;
    *) echo 16384 ;;
  esac
}

if [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DQB_FUZZ=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQB_WERROR=ON -DQB_BUILD_BENCH=OFF >/dev/null
fi
cmake --build "$build" -j "$(nproc)" --target fuzz >/dev/null

failed=0
for target in "${targets[@]}"; do
  out=$build/fuzz-out/$target
  rm -rf "$out"
  mkdir -p "$out/corpus"
  start=$(date +%s%N)
  status=0
  # Seeds second: what the run adds goes into the first folder, not into the seeds.
  "$build/fuzz/qb_fuzz_$target" -runs="$runs" -max_len="$(max_len "$target")" -timeout=30 \
    -artifact_prefix="$out/" -print_final_stats=1 "$out/corpus" "$build/corpus/$target" \
    >"$out/log" 2>&1 || status=$?
  seconds=$(awk -v ns=$(($(date +%s%N) - start)) 'BEGIN { printf "%.1f", ns / 1e9 }')
  inputs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$out/log" | tail -1)
  if [ "$status" -eq 0 ]; then
    result=ok
  else
    failed=1
    found=$(ls "$out" | grep -E '^(crash|leak|timeout|oom|slow-unit)-' | head -1 || true)
    result="FAULT: $(grep -m1 -E 'ERROR: |runtime error|property broken' "$out/log" || echo "exit $status")"
    result="$result (input $out/${found:-?}, log $out/log)"
  fi
  printf '%-14s %9s inputs %7s s  %s\n' "$target" "${inputs:-?}" "$seconds" "$result"
done
exit $failed
