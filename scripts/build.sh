#!/usr/bin/env bash
# Installs what is missing and builds Pruvex in ./build (or $PRUVEX_BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

build_dir=${PRUVEX_BUILD_DIR:-build}
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build_dir" -j2
