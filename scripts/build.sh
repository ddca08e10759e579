#!/usr/bin/env bash
# Configures and builds into build/. With CI set in the environment, a
# compiler warning fails the build.
set -euo pipefail
cd "$(dirname "$0")/.."
werror=OFF
if [ -n "${CI:-}" ]; then werror=ON; fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVELA_WERROR="$werror" >/dev/null
cmake --build build
