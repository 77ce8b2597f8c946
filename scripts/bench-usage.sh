#!/usr/bin/env bash
# Whole-process figures of the usage reports over a year of 20-interface logs, beside vnStat
# reading the same traffic from its own database:
#
#   scripts/bench-usage.sh [PROGRAM] [RUNS]
#
# PROGRAM defaults to build/release/velmora (its libraries are taken from its own folder),
# RUNS to 9. Each figure is the median of RUNS runs: CPU seconds (user + system) and peak
# resident memory, from the kernel's accounting of the finished process. The logs and the
# database are made afresh by scripts/make-usage-logs.sh in a temporary folder (YEAR sets the
# year, default last year). The reports cover the months of the year, the days of December and
# the hours of 31 December; vnStat's -m, -d and -h lists are set to the same periods. Each
# report is measured twice: parsing every month file (--no-cache), and reading the month totals
# that an earlier run kept. The --version row is the program's start and exit alone. The chart rows draw the same periods to
# PNG (480 x 320, the rendering backend loaded), beside vnstati's images of the same lists.
set -euo pipefail
cd "$(dirname "$0")/.."
program=${1:-build/release/velmora}
runs=${2:-9}
year=${YEAR:-$(($(date +%Y) - 1))}

if [ ! -x "$program" ]; then
    echo "$0: no program at $program (cmake --preset release && cmake --build --preset release)" >&2
    exit 1
fi
if [ ! -x /usr/bin/time ]; then
    echo "$0: /usr/bin/time is missing (apt-get install time)" >&2
    exit 1
fi
have_vnstat=1
if ! command -v vnstat > /dev/null || ! command -v sqlite3 > /dev/null; then
    have_vnstat=0
    echo "vnstat or sqlite3 is missing (apt-get install vnstat sqlite3): velmora's figures only" >&2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ "$have_vnstat" = 1 ]; then
    scripts/make-usage-logs.sh "$work/data" "$year" "$work/vnstat" > /dev/null
else
    scripts/make-usage-logs.sh "$work/data" "$year" > /dev/null
fi
# The reports keep month totals in a cache of their own here; a month file is cached only once
# it has been left alone for a second.
export XDG_CACHE_HOME="$work/cache"
sleep 1.2
export LD_LIBRARY_PATH
LD_LIBRARY_PATH=$(cd "$(dirname "$program")" && pwd)${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}

# One line per run: CPU seconds and peak RSS in kB. GNU time prints CPU times in hundredths
# only, so they come from the shell's own wait on the child (milliseconds), and the peak RSS
# from GNU time in a run of its own right after.
measure() {
    local out=$1
    shift
    local TIMEFORMAT='%3U %3S' cpu rss
    for ((run = 0; run < runs; ++run)); do
        cpu=$({ time "$@" > "$work/output" 2> /dev/null; } 2>&1) || {
            echo "$0: '$*' failed" >&2
            exit 1
        }
        /usr/bin/time -f '%M' -o "$work/rss" "$@" > /dev/null 2>&1
        rss=$(cat "$work/rss")
        awk -v c="$cpu" -v m="$rss" 'BEGIN { split(c, t, " "); printf "%.3f %d\n", t[1] + t[2], m }' >> "$out"
    done
}

# "CPU RSS-MB" medians of a file of runs.
medians() {
    local cpu rss
    cpu=$(cut -d' ' -f1 "$1" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
    rss=$(cut -d' ' -f2 "$1" | sort -g | awk '{ v[NR] = $1 } END { printf "%.1f", v[int((NR + 1) / 2)] / 1024 }')
    echo "$cpu $rss"
}

date="$year-12-31"
ifaces=""
[ "$have_vnstat" = 1 ] && ifaces=$(cat "$work/vnstat/interfaces")
printf '%s, %s of month files, median of %d runs\n' "$("$program" --version)" \
    "$(du -sh "$work/data/device/Program Files/Velmora" | cut -f1)" "$runs"
printf '%-10s %18s %18s\n' "" "velmora usage" "vnstat"
printf '%-10s %9s %8s %9s %8s\n' report "CPU s" "RSS MB" "CPU s" "RSS MB"
# The program's start and end alone, libraries loaded: what every report pays before reading.
measure "$work/velmora-version" "$program" --version
read -r cpu rss < <(medians "$work/velmora-version")
printf '%-10s %9s %8s\n' --version "$cpu" "$rss"
for pair in monthly:-m daily:-d hourly:-h; do
    interval=${pair%%:*}
    option=${pair#*:}
    measure "$work/velmora-cold-$interval" "$program" usage report --interval "$interval" --date "$date" --data "$work/data" --no-cache
    read -r cpu rss < <(medians "$work/velmora-cold-$interval")
    printf '%-10s %9s %8s  (--no-cache: every month file parsed)\n' "$interval" "$cpu" "$rss"
    # The first run keeps the totals; the measured runs read them back.
    "$program" usage report --interval "$interval" --date "$date" --data "$work/data" > /dev/null
    measure "$work/velmora-$interval" "$program" usage report --interval "$interval" --date "$date" --data "$work/data"
    read -r cpu rss < <(medians "$work/velmora-$interval")
    line=$(printf '%-10s %9s %8s' "$interval" "$cpu" "$rss")
    if [ "$have_vnstat" = 1 ]; then
        measure "$work/vnstat-$interval" vnstat --config "$work/vnstat/vnstat.conf" -i "$ifaces" "$option"
        read -r cpu rss < <(medians "$work/vnstat-$interval")
        line+=$(printf ' %9s %8s  (%s)' "$cpu" "$rss" "$option")
    fi
    echo "$line"
done

# The chart of each period drawn to PNG, beside vnStat's image output of the same lists.
have_vnstati=0
[ "$have_vnstat" = 1 ] && command -v vnstati > /dev/null && have_vnstati=1
[ "$have_vnstati" = 0 ] && echo "vnstati is missing (apt-get install vnstati): velmora's chart figures only" >&2
printf '%-10s %18s %18s\n' "" "velmora usage" "vnstati"
printf '%-10s %9s %8s %9s %8s\n' chart "CPU s" "RSS MB" "CPU s" "RSS MB"
for pair in monthly:-m daily:-d hourly:-h; do
    interval=${pair%%:*}
    option=${pair#*:}
    measure "$work/chart-$interval" "$program" usage chart --interval "$interval" --date "$date" --data "$work/data" \
        --out "$work/chart.png"
    read -r cpu rss < <(medians "$work/chart-$interval")
    line=$(printf '%-10s %9s %8s' "$interval" "$cpu" "$rss")
    if [ "$have_vnstati" = 1 ]; then
        measure "$work/vnstati-$interval" vnstati --config "$work/vnstat/vnstat.conf" -i "$ifaces" "$option" \
            -o "$work/vnstati.png"
        read -r cpu rss < <(medians "$work/vnstati-$interval")
        line+=$(printf ' %9s %8s  (%s)' "$cpu" "$rss" "$option")
    fi
    echo "$line"
done
