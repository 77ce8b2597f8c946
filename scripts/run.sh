#!/usr/bin/env bash
# The main job of `make run`.
set -euo pipefail
cd "$(dirname "$0")/.."
exec ./build/release/velmora "$@"
