#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test through
# CTest (offscreen), ending with CTest's summary line.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/deps.sh
./scripts/build.sh
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
