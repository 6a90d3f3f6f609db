#!/usr/bin/env bash
# Builds the game and the start-up benchmark, then runs it on an X server of its own.
# Usage: bench/startup/run.sh [--runs N]
set -euo pipefail
cd "$(dirname "$0")/../.."
cmake --preset dev >/dev/null
cmake --build --preset dev --target bench_startup
exec xvfb-run -a -s "-screen 0 1280x1024x24" build/dev/bench/startup/bench_startup "$@"
