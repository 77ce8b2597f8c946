#!/usr/bin/env bash
# A year of hourly usage logs for 20 interfaces, for measuring the usage reports:
#
#   scripts/make-usage-logs.sh DATA [YEAR] [VNSTAT_DIR]
#
# writes the twelve month files UsageDataYYYYMM.txt of YEAR (default: last year) into the
# device data folder DATA, at the default UsageLogPath (DATA/device/Program Files/Velmora),
# byte for byte as the logger writes them: UTF-16LE without a byte-order mark, one line per
# hour "2006-3-7-14 *20* \tname sent received ...\r\n". With VNSTAT_DIR, the same traffic
# (same interfaces, same hours, counted in UTC) also goes into a vnStat 2 database there,
# vnstat.db with its hour, day, month and year tables as its daemon would have left them after
# that year (hours of the last 4 days, days of the last 62), with vnstat.conf beside it to
# point vnstat at it:
#
#   vnstat --config VNSTAT_DIR/vnstat.conf -i "$(cat VNSTAT_DIR/interfaces)" -m
#
# Traffic is pseudo-random but the same at every run. Each interface's hour stays far below
# 2^31 bytes and each month of all interfaces together below 2^32, so that the logs' 32-bit
# totals and vnStat's 64-bit ones agree.
set -euo pipefail

if [ $# -lt 1 ] || [ $# -gt 3 ]; then
    echo "usage: $0 DATA [YEAR] [VNSTAT_DIR]" >&2
    exit 2
fi
data=$1
year=${2:-$(($(date +%Y) - 1))}
vnstat_dir=${3:-}
case $year in
[12][0-9][0-9][0-9]) ;;
*)
    echo "$0: YEAR must be four digits, not '$year'" >&2
    exit 2
    ;;
esac

missing=()
command -v iconv > /dev/null || missing+=(iconv)
if [ -n "$vnstat_dir" ]; then
    command -v sqlite3 > /dev/null || missing+=(sqlite3)
fi
if [ ${#missing[@]} -gt 0 ]; then
    echo "$0: missing ${missing[*]} (apt-get install ${missing[*]/iconv/libc-bin})" >&2
    exit 1
fi

logs="$data/device/Program Files/Velmora"
mkdir -p "$logs"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One pass writes each month's lines (UTF-8, converted below) and the SQL for the same hours.
# The Linux names are the ones vnStat counts; the logs carry the names the device gives them:
# lower case, "#" before the "1" the adapter name ends in when the Linux name ends in "1".
awk -v year="$year" -v work="$work" -v sql="$work/traffic.sql" '
function days_in(m) {
    if (m == 2)
        return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0 ? 29 : 28
    return (m == 4 || m == 6 || m == 9 || m == 11) ? 30 : 31
}
# Park-Miller: every product stays below 2^53, so any awk computes the same sequence.
function next_random(limit) {
    seed = (seed * 16807) % 2147483647
    return seed % limit
}
BEGIN {
    count = 20
    for (i = 0; i < count; ++i) {
        linux[i] = (i < 10 ? "eth" i : "wlan" (i - 10))
        logged[i] = linux[i] (linux[i] ~ /1$/ ? "#1" : "1")
        # Busy and quiet interfaces: up to 2^18 bytes in and 2^16 out per hour.
        weight[i] = 1 + i % 4
    }
    seed = 20060307
    print "BEGIN;" > sql
    for (i = 0; i < count; ++i)
        printf "INSERT INTO interface VALUES (%d, \x27%s\x27, NULL, 1, \x27%d-01-01 00:00:00\x27, \x27%d-12-31 23:59:59\x27, 0, 0, 0, 0);\n",
            i + 1, linux[i], year, year > sql
    for (m = 1; m <= 12; ++m) {
        file = sprintf("%s/%02d.txt", work, m)
        for (d = 1; d <= days_in(m); ++d) {
            for (h = 0; h < 24; ++h) {
                line = sprintf("%d-%d-%d-%d *%d* ", year, m, d, h, count)
                # Night hours carry a tenth of the day hours.
                night = (h < 7) ? 10 : 1
                for (i = 0; i < count; ++i) {
                    sent = int(next_random(16384 * weight[i]) / night)
                    received = int(next_random(65536 * weight[i]) / night)
                    line = line sprintf("\t%s %d %d ", logged[i], sent, received)
                    printf "INSERT INTO hour (interface, date, rx, tx) VALUES (%d, \x27%d-%02d-%02d %02d:00:00\x27, %d, %d);\n",
                        i + 1, year, m, d, h, received, sent > sql
                }
                printf "%s\r\n", line > file
            }
        }
        close(file)
    }
    print "COMMIT;" > sql
}'

for m in 01 02 03 04 05 06 07 08 09 10 11 12; do
    iconv -f UTF-8 -t UTF-16LE "$work/$m.txt" > "$logs/UsageData$year$m.txt"
done
echo "$logs: 12 month files of $year, $(du -sh "$logs" | cut -f1)"

[ -n "$vnstat_dir" ] || exit 0
mkdir -p "$vnstat_dir"
rm -f "$vnstat_dir/vnstat.db"
# The tables as vnStat 2 creates them (vnstatd --initdb); dates are its text form.
sqlite3 "$vnstat_dir/vnstat.db" << 'EOF'
CREATE TABLE info(id INTEGER PRIMARY KEY, name TEXT UNIQUE NOT NULL, value TEXT NOT NULL);
CREATE TABLE interface(id INTEGER PRIMARY KEY, name TEXT UNIQUE NOT NULL, alias TEXT, active INTEGER NOT NULL,
    created DATE NOT NULL, updated DATE NOT NULL, rxcounter INTEGER NOT NULL, txcounter INTEGER NOT NULL,
    rxtotal INTEGER NOT NULL, txtotal INTEGER NOT NULL);
CREATE TABLE fiveminute(id INTEGER PRIMARY KEY, interface INTEGER REFERENCES interface(id) ON DELETE CASCADE,
    date DATE NOT NULL, rx INTEGER NOT NULL, tx INTEGER NOT NULL, CONSTRAINT u UNIQUE (interface, date));
CREATE TABLE hour(id INTEGER PRIMARY KEY, interface INTEGER REFERENCES interface(id) ON DELETE CASCADE,
    date DATE NOT NULL, rx INTEGER NOT NULL, tx INTEGER NOT NULL, CONSTRAINT u UNIQUE (interface, date));
CREATE TABLE day(id INTEGER PRIMARY KEY, interface INTEGER REFERENCES interface(id) ON DELETE CASCADE,
    date DATE NOT NULL, rx INTEGER NOT NULL, tx INTEGER NOT NULL, CONSTRAINT u UNIQUE (interface, date));
CREATE TABLE month(id INTEGER PRIMARY KEY, interface INTEGER REFERENCES interface(id) ON DELETE CASCADE,
    date DATE NOT NULL, rx INTEGER NOT NULL, tx INTEGER NOT NULL, CONSTRAINT u UNIQUE (interface, date));
CREATE TABLE year(id INTEGER PRIMARY KEY, interface INTEGER REFERENCES interface(id) ON DELETE CASCADE,
    date DATE NOT NULL, rx INTEGER NOT NULL, tx INTEGER NOT NULL, CONSTRAINT u UNIQUE (interface, date));
CREATE TABLE top(id INTEGER PRIMARY KEY, interface INTEGER REFERENCES interface(id) ON DELETE CASCADE,
    date DATE NOT NULL, rx INTEGER NOT NULL, tx INTEGER NOT NULL, CONSTRAINT u UNIQUE (interface, date));
INSERT INTO info (name, value) VALUES ('btime', '4294967295'), ('dbversion', '1'), ('vnstatversion', '2.10');
EOF
{
    cat "$work/traffic.sql"
    cat << 'EOF'
BEGIN;
INSERT INTO day (interface, date, rx, tx)
    SELECT interface, substr(date, 1, 10), sum(rx), sum(tx) FROM hour GROUP BY interface, substr(date, 1, 10);
INSERT INTO month (interface, date, rx, tx)
    SELECT interface, substr(date, 1, 7) || '-01', sum(rx), sum(tx) FROM day GROUP BY interface, substr(date, 1, 7);
INSERT INTO year (interface, date, rx, tx)
    SELECT interface, substr(date, 1, 4) || '-01-01', sum(rx), sum(tx) FROM month GROUP BY interface, substr(date, 1, 4);
UPDATE interface SET rxtotal = (SELECT sum(rx) FROM year WHERE year.interface = interface.id),
    txtotal = (SELECT sum(tx) FROM year WHERE year.interface = interface.id);
-- What vnstatd keeps by default (HourlyDays 4, DailyDays 62): older hours and days are gone.
DELETE FROM hour WHERE date < (SELECT date(max(date), '-3 days') FROM hour);
DELETE FROM day WHERE date < (SELECT date(max(date), '-61 days') FROM day);
COMMIT;
EOF
} | sqlite3 "$vnstat_dir/vnstat.db"

# UTC keeps the hours the logs name: no hour is missing or doubled at a clock change. The
# lists show the whole year, the 31 days of December and the 24 hours of its last day.
cat > "$vnstat_dir/vnstat.conf" << EOF
DatabaseDir "$(cd "$vnstat_dir" && pwd)"
UseUTC 1
ListMonths 12
ListDays 31
ListHours 24
EOF
sqlite3 "$vnstat_dir/vnstat.db" "SELECT group_concat(name, '+') FROM (SELECT name FROM interface ORDER BY id);" \
    > "$vnstat_dir/interfaces"
echo "$vnstat_dir: vnstat.db and vnstat.conf with the same traffic ($(cat "$vnstat_dir/interfaces"))"
