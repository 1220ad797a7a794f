#!/usr/bin/env bash
# Installs what is missing and builds Pruvex in ./build (or $PRUVEX_BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

build_dir=${PRUVEX_BUILD_DIR:-build}
# CI treats compiler warnings as errors.
werror=OFF
[[ -n "${CI:-}" ]] && werror=ON
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPRUVEX_WERROR=$werror
cmake --build "$build_dir" -j2
