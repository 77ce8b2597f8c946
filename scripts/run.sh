#!/usr/bin/env bash
# The main job of `make run`: the plug-in's settings as it loads them from the data folder.
set -euo pipefail
cd "$(dirname "$0")/.."
exec ./build/release/velmora settings "$@"
