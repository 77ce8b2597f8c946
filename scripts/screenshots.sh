#!/usr/bin/env bash
# Screenshots of the Today screen in both device profiles (qvga, vga), each in full view, in
# compact view and with no connection, made by the simulated device from the scenarios beside
# this script; then each screen that a script in scripts/screens reaches (its "screenshot OUT"
# line names the picture). Usage: scripts/screenshots.sh [OUTDIR] (default build/screenshots).
set -euo pipefail
cd "$(dirname "$0")/.."
program=${VELMORA:-./build/release/velmora}
[ -x "$program" ] || program=./build/debug/velmora
out=${1:-build/screenshots}
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

key='HKCU\Software\Tavrel\Velmora'
for device in qvga vga; do
    for view in full compact none; do
        data="$work/$device-$view"
        "$program" --data "$data" settings --save >/dev/null
        if [ "$view" = full ]; then
            "$program" --data "$data" reg add "$key" /v FullViewEnabled /t REG_DWORD /d 1 /f >/dev/null
        fi
        scenario=scripts/scenarios/lan.txt
        [ "$view" = none ] && scenario=scripts/scenarios/no-connection.txt
        file="$out/today-$device-$view.png"
        "$program" --data "$data" --device "$device" --simulate "$scenario" --ticks 8 --screenshot "$file" >/dev/null
        echo "$file"
    done
done

# The Usage tab's screens show a year of generated logs (their scripts pick a day of it).
usage_year=2005
scripts/make-usage-logs.sh "$work/usage-logs" "$usage_year" >/dev/null

for screen in scripts/screens/*.txt; do
    name=$(basename "$screen" .txt)
    for device in qvga vga; do
        data="$work/$device-$name"
        file="$out/$name-$device.png"
        "$program" --data "$data" settings --save >/dev/null
        case $name in
        usage-*) cp -r "$work/usage-logs/device" "$data/" ;;
        esac
        sed "s|^screenshot OUT\$|screenshot $file|" "$screen" > "$work/$name.txt"
        "$program" --data "$data" --device "$device" --simulate scripts/scenarios/lan.txt --script "$work/$name.txt" >/dev/null
        echo "$file"
    done
done
