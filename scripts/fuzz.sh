#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# and runs each for MINUTES minutes (default 10):  scripts/fuzz.sh [MINUTES] [TARGET...]
# Without targets every tests/fuzz/fuzz_<name>.cpp is run. At most FUZZ_JOBS targets (default
# 2) run at a time, each under nice. Each target starts from its corpus tests/fuzz/corpus/<name>/;
# the inputs it finds go to build-fuzz/fuzz-work/<name>/corpus, faults to .../findings/ (copy
# a fixed fault's input into the tree's corpus so the replay test keeps it fixed). A target goes
# on after a fault (libFuzzer's fork mode), so one run shows every fault it meets; FUZZ_STOP=1
# stops at the first instead.
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:-10}
shift || true
dir=${BRISKLANE_FUZZ_DIR:-build-fuzz}
jobs=${FUZZ_JOBS:-2}

cmake -S . -B "$dir" -G Ninja -DBRISKLANE_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$dir" -j2 | tail -3

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in tests/fuzz/fuzz_*.cpp; do
    t=$(basename "$f" .cpp)
    targets+=("${t#fuzz_}")
  done
fi

run_one() {
  local t=$1 work=$dir/fuzz-work/$1
  mkdir -p "$work/corpus" "$work/findings"
  local dict=()
  [ -f "tests/fuzz/dict/$t.dict" ] && dict=(-dict="tests/fuzz/dict/$t.dict")
  local mode=(-fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1)
  [ "${FUZZ_STOP:-0}" = 1 ] && mode=()
  nice -n 10 "$dir/fuzz-bin/fuzz_$t" "$work/corpus" "tests/fuzz/corpus/$t" "${dict[@]}" "${mode[@]}" \
    -max_total_time=$((minutes * 60)) -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/findings/" >"$work/log" 2>&1 || true
  local runs
  runs=$(sed -n 's/^#\([0-9]*\).*/\1/p' "$work/log" | tail -1)
  printf '%s\t%s\t%s\t%s\n' "$t" "$minutes" "${runs:-?}" "$(find "$work/findings" -type f | wc -l)" \
    >"$work/summary"
}

for t in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do
    wait -n || true
  done
  echo "fuzzing $t for $minutes min"
  run_one "$t" &
done
wait

printf 'target\tminutes\texecutions\tfindings\n'
for t in "${targets[@]}"; do
  cat "$dir/fuzz-work/$t/summary"
done
