#!/usr/bin/env bash
# Builds Tarvela Desk and times its actions offscreen on generated ten-year
# databases (1x and 10x the assignments, made once into build/bench-data).
# Arguments go to the benchmark: --quick, --only <action>, --size 1x|10x,
# --runs N, --sql (see build/bench/tarvela_bench --help).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
./scripts/build.sh
export QT_QPA_PLATFORM=offscreen
exec build/bench/tarvela_bench "$@"
