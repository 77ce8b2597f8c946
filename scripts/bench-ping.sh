#!/usr/bin/env bash
# Whole-process figures of four echo requests to the loopback, beside iputils' ping doing the
# same in the same run:
#
#   scripts/bench-ping.sh [PROGRAM] [RUNS]
#
# PROGRAM defaults to build/release/velmora, RUNS to 5. Each figure is the median of RUNS runs
# of `velmora ping 127.0.0.1 -c 4` and of `ping -c 4 -i 1 127.0.0.1`: CPU seconds (user +
# system, from the shell's wait on the child, in milliseconds) and peak resident memory (GNU
# time's %M, in a run of its own right after), and the elapsed seconds (both pause a second
# between requests).
set -euo pipefail
cd "$(dirname "$0")/.."
program=${1:-build/release/velmora}
runs=${2:-5}

if [ ! -x "$program" ]; then
    echo "$0: no program at $program (cmake --preset release && cmake --build --preset release)" >&2
    exit 1
fi
for tool in /usr/bin/time ping; do
    if ! command -v "$tool" > /dev/null; then
        echo "$0: $tool is missing (apt-get install time iputils-ping)" >&2
        exit 1
    fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One line per run: CPU seconds, peak RSS in kB, elapsed seconds.
measure() {
    local out=$1
    shift
    local TIMEFORMAT='%3U %3S %3R' times rss
    for ((run = 0; run < runs; ++run)); do
        times=$({ time "$@" > /dev/null 2> /dev/null; } 2>&1) || {
            echo "$0: '$*' failed (does this machine allow echo sockets?)" >&2
            exit 1
        }
        /usr/bin/time -f '%M' -o "$work/rss" "$@" > /dev/null 2>&1
        rss=$(cat "$work/rss")
        awk -v t="$times" -v m="$rss" 'BEGIN { split(t, v, " "); printf "%.3f %d %.3f\n", v[1] + v[2], m, v[3] }' >> "$out"
    done
}

median() {
    cut -d' ' -f"$2" "$1" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

measure "$work/velmora" "$program" ping 127.0.0.1 -c 4
measure "$work/iputils" ping -c 4 -i 1 127.0.0.1
printf '%s beside %s, median of %d runs\n' "$("$program" --version)" "$(ping -V 2>&1 | head -n 1)" "$runs"
printf '%-26s %8s %8s %9s\n' "" "CPU s" "RSS MB" "elapsed s"
for name in velmora iputils; do
    label="velmora ping -c 4"
    [ "$name" = iputils ] && label="ping -c 4 -i 1 (iputils)"
    printf '%-26s %8s %8.1f %9s\n' "$label" "$(median "$work/$name" 1)" "$(echo "$(median "$work/$name" 2)" | awk '{ print $1 / 1024 }')" \
        "$(median "$work/$name" 3)"
done
