#!/usr/bin/env bash
# Installs what is needed, builds the program and starts it against the
# simulated mouse and receiver.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -DVELMORAX_BUILD_TESTS=OFF
cmake --build build -j"$(nproc)" --target velmorax
exec ./build/velmorax "$@"
