#!/usr/bin/env bash
# Runs each fuzz target for a few seconds, starting from its seed corpus.
set -euo pipefail
dir=$1; seconds=${2:-10}
src=$(cd "$(dirname "$0")/.." && pwd)
for target in "$dir"/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  work=$(mktemp -d)
  cp -r "$src/fuzz/corpus/$name/." "$work/" 2>/dev/null || true
  echo "== $name (${seconds}s)"
  # Whole files (hives, month files, lease files, scripts) are larger than libFuzzer's default.
  "$target" -max_total_time="$seconds" -max_len=65536 -print_final_stats=0 "$work" 2>&1 | tail -n 3
  rm -rf "$work"
done
