#!/usr/bin/env bash
# Figures of the device run on this machine's real network: CPU seconds and peak resident memory
# of the headless host over 60 seconds, its CPU and wake-ups per second in steady state, the
# time from the program's start to the item's first painted frame (median of five starts), and,
# where strace is installed, the kernel calls one tick makes.
# Usage: scripts/measure-host.sh [PROGRAM] (default build/release/velmora); MEASURE_SECONDS
# changes the 60.
set -euo pipefail
cd "$(dirname "$0")/.."
program=${1:-./build/release/velmora}
seconds=${MEASURE_SECONDS:-60}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Voluntary context switches summed over every thread of a process: each is the thread going
# to sleep, so their growth is how often the process wakes up.
switches() {
    local total=0 n status
    for status in /proc/"$1"/task/*/status; do
        n=$(awk '/^voluntary_ctxt_switches:/ { print $2 }' "$status" 2>/dev/null || true)
        total=$((total + ${n:-0}))
    done
    echo "$total"
}

# Nanoseconds on the CPU, summed over every thread of a process (the scheduler's own account).
cpu_ns() {
    local total=0 n stat
    for stat in /proc/"$1"/task/*/schedstat; do
        n=$(awk '{ print $1 }' "$stat" 2>/dev/null || true)
        total=$((total + ${n:-0}))
    done
    echo "$total"
}

now() { date +%s.%N; }

# Wake-ups and CPU per second of the running program in steady state, from a few seconds after
# its start to a few seconds before its end. Written to $work/steady.
sample_steady() {
    local pid=$1 s1 s2 c1 c2 t1 t2
    : > "$work/steady"
    [ "$seconds" -ge 12 ] || return 0
    sleep 5
    [ -d "/proc/$pid" ] || return 0
    t1=$(now); s1=$(switches "$pid"); c1=$(cpu_ns "$pid")
    sleep $((seconds - 9))
    [ -d "/proc/$pid" ] || return 0
    t2=$(now); s2=$(switches "$pid"); c2=$(cpu_ns "$pid")
    awk -v s1="$s1" -v s2="$s2" -v c1="$c1" -v c2="$c2" -v t1="$t1" -v t2="$t2" 'BEGIN {
        printf "  steady state (%.1f s from the 5th second): %.2f ms CPU per second, %.1f wake-ups per second\n",
            t2 - t1, (c2 - c1) / 1e6 / (t2 - t1), (s2 - s1) / (t2 - t1)
        printf "    (wake-ups: voluntary context switches of all threads, %d in all)\n", s2 - s1
    }' > "$work/steady"
}

# CPU seconds and peak RSS of the whole run, from the kernel's accounting of the finished child.
measure() {
    if [ -x /usr/bin/time ]; then
        /usr/bin/time -f '%U %S %M' -o "$work/usage" "$@" & local wrapper=$! pid=""
        while [ -z "$pid" ] && [ -d "/proc/$wrapper" ]; do
            pid=$(pgrep -P "$wrapper" | head -n 1 || true)
            [ -n "$pid" ] || sleep 0.05
        done
        [ -z "$pid" ] || sample_steady "$pid"
        wait "$wrapper"
        return
    fi
    # Without GNU time: the program's own CPU times and memory high-water mark, read from the
    # kernel while it runs (the last reading misses at most the final fifth of a second).
    "$@" & local pid=$! hz user=0 system=0 hwm=0
    sample_steady "$pid" &
    local sampler=$!
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
    wait "$sampler" || true
    awk -v u="$user" -v s="$system" -v hz="$hz" -v m="$hwm" 'BEGIN { print u / hz, s / hz, m }' > "$work/usage"
}

measure "$program" --data "$work/run" --headless --ticks "$seconds" > "$work/out"
read -r user system peakKb < "$work/usage"
ticks=$(grep -c 'activity' "$work/out" || true)
echo "Headless host over $seconds s on the real network ($ticks ticks):"
awk -v u="$user" -v s="$system" 'BEGIN { printf "  CPU seconds: %.2f (user %.2f, system %.2f)\n", u + s, u, s }'
awk -v k="$peakKb" 'BEGIN { printf "  peak RSS: %.1f MB\n", k / 1024 }'
if [ -s "$work/steady" ]; then
    cat "$work/steady"
fi

frames=()
for run in 1 2 3 4 5; do
    ms=$("$program" --data "$work/first$run" --headless --ticks 1 | sed -n 's/^first frame painted \([0-9]*\) ms after start$/\1/p')
    frames+=("$ms")
done
median=$(printf '%s\n' "${frames[@]}" | sort -n | sed -n 3p)
echo "First painted frame: $median ms after start (median of five starts: ${frames[*]} ms)"

# The kernel calls of one tick: the calls of a 25-tick run less those of a 5-tick run (which
# has the same start-up), over the 20 ticks between. sendto is one routing-socket request each.
if command -v strace > /dev/null; then
    calls() {
        strace -f -c -o "$work/strace$1" -e trace=sendto,recvfrom,pread64,read,newfstatat,statx,inotify_add_watch \
            "$program" --data "$work/strace-run$1" --headless --ticks "$1" > /dev/null
    }
    calls 5
    calls 25
    echo "Kernel calls per tick (strace -f -c, a 25-tick run less a 5-tick one, over 20 ticks):"
    awk 'FNR == 1 { file++ }
         $NF ~ /^(sendto|recvfrom|pread64|read|newfstatat|statx|inotify_add_watch)$/ && $4 ~ /^[0-9]+$/ { n[file, $NF] = $4; names[$NF] = 1 }
         END { for (name in names) printf "  %-18s %6.2f\n", name, (n[2, name] - n[1, name]) / 20 }' \
        "$work/strace5" "$work/strace25" | sort
fi
