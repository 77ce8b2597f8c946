#!/usr/bin/env bash
# Runs every fuzz target long enough to find the next hole (10 minutes each unless told), one
# after another, from its seed corpus, and prints executions and crashes per target (a target
# stops at its first crash). Crash
# inputs are kept in build/fuzz/artifacts/TARGET/. Not part of `make test`, which runs each
# target for a few seconds only.
# Usage: scripts/fuzz-long.sh [MINUTES] [TARGET...]   (after `make fuzz` built the targets)
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:-10}
shift || true
dir=build/fuzz/fuzz
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for target in "$dir"/fuzz_*; do [ -x "$target" ] && targets+=("$(basename "$target")"); done
fi
printf '%-22s %12s %8s\n' target executions crashes
for name in "${targets[@]}"; do
  work=$(mktemp -d)
  artifacts=build/fuzz/artifacts/$name
  mkdir -p "$artifacts"
  cp -r "fuzz/corpus/$name/." "$work/" 2>/dev/null || true
  # Whole files (hives, month files, lease files, scripts) are larger than libFuzzer's default.
  "$dir/$name" -max_total_time=$((minutes * 60)) -max_len=65536 -close_fd_mask=3 -print_final_stats=1 \
    -artifact_prefix="$artifacts/" "$work" > "$work.log" 2>&1 || true
  executions=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$work.log" | grep -o '[0-9]*$' | awk '{ s += $1 } END { print s + 0 }')
  crashes=$(find "$artifacts" -name 'crash-*' -newer "$work" 2>/dev/null | wc -l)
  printf '%-22s %12s %8s\n' "$name" "$executions" "$crashes"
  rm -rf "$work" "$work.log"
done
