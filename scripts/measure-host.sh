#!/usr/bin/env bash
# Figures of the device run on this machine's real network: CPU seconds and peak resident memory
# of the headless host over 60 seconds, and the time from the program's start to the item's
# first painted frame (median of five starts). Usage: scripts/measure-host.sh [PROGRAM]
# (default build/release/velmora); MEASURE_SECONDS changes the 60.
set -euo pipefail
cd "$(dirname "$0")/.."
program=${1:-./build/release/velmora}
seconds=${MEASURE_SECONDS:-60}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# CPU seconds and peak RSS of the whole run, from the kernel's accounting of the finished child.
measure() {
    if [ -x /usr/bin/time ]; then
        /usr/bin/time -f '%U %S %M' -o "$work/usage" "$@"
        return
    fi
    # Without GNU time: the program's own CPU times and memory high-water mark, read from the
    # kernel while it runs (the last reading misses at most the final fifth of a second).
    "$@" & local pid=$! hz user=0 system=0 hwm=0
    hz=$(getconf CLK_TCK)
    while [ -r "/proc/$pid/stat" ]; do
        local fields
        read -r -a fields < "/proc/$pid/stat" 2>/dev/null || break
        [ "${fields[2]}" = Z ] && break
        user=${fields[13]} system=${fields[14]}
        local now
        now=$(awk '/^VmHWM:/ { print $2 }' "/proc/$pid/status" 2>/dev/null)
        [ "${now:-0}" -gt "$hwm" ] && hwm=$now
        sleep 0.2
    done
    wait "$pid"
    awk -v u="$user" -v s="$system" -v hz="$hz" -v m="$hwm" 'BEGIN { print u / hz, s / hz, m }' > "$work/usage"
}

measure "$program" --data "$work/run" --headless --ticks "$seconds" > "$work/out"
read -r user system peakKb < "$work/usage"
ticks=$(grep -c 'activity' "$work/out" || true)
echo "Headless host over $seconds s on the real network ($ticks ticks):"
awk -v u="$user" -v s="$system" 'BEGIN { printf "  CPU seconds: %.2f (user %.2f, system %.2f)\n", u + s, u, s }'
awk -v k="$peakKb" 'BEGIN { printf "  peak RSS: %.1f MB\n", k / 1024 }'

frames=()
for run in 1 2 3 4 5; do
    ms=$("$program" --data "$work/first$run" --headless --ticks 1 | sed -n 's/^first frame painted \([0-9]*\) ms after start$/\1/p')
    frames+=("$ms")
done
median=$(printf '%s\n' "${frames[@]}" | sort -n | sed -n 3p)
echo "First painted frame: $median ms after start (median of five starts: ${frames[*]} ms)"
