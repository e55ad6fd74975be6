#!/usr/bin/env bash
# Instructions per call of each side, counted by callgrind in the calling thread only:
#   bench/gateway/count_instructions.sh build/bin/bench_gateway [calls]
# Counts do not depend on the load of the machine, so they show what the client adds to the
# bare exchange more steadily than the timed rounds.
set -euo pipefail
bench=${1:?path of bench_gateway}
calls=${2:-2000}
count() {
  valgrind --tool=callgrind --callgrind-out-file=/dev/null --collect-atstart=no \
    --toggle-collect="*${1}Calls*" "$bench" --only "$1" --calls "$calls" 2>&1 |
    sed -n 's/.*Collected : \([0-9]*\).*/\1/p'
}
bare=$(count bare)
client=$(count client)
echo "| instructions per call (callgrind, $calls calls) | $((bare / calls)) | $((client / calls)) |" \
  "$(awk -v b="$bare" -v c="$client" 'BEGIN { printf "%.2f", b / c }') |"
