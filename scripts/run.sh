#!/usr/bin/env bash
# The main job of `make run`: the device with the Velmora item on this machine's real network,
# in a window when there is a display, else printing the item's lines in the terminal. It stops
# after VELMORA_TICKS seconds (default 120; 0 runs until Ctrl-C). Arguments are passed on
# (for example --device vga or --data DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
ticks="${VELMORA_TICKS:-120}"
args=()
if [ "$ticks" != "0" ]; then
    args+=(--ticks "$ticks")
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    args+=(--headless)
fi
exec ./build/release/velmora "${args[@]}" "$@"
