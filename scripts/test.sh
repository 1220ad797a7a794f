#!/usr/bin/env bash
# Installs what is missing, builds Pruvex in ./build and runs every test.
# PRUVEX_BUILD_DIR names another build folder.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/build.sh
build_dir=${PRUVEX_BUILD_DIR:-build}

# Headless: no display, no GPU, and WebEngine without its sandbox (which
# needs privileges that containers and CI runners often lack).
export QT_QPA_PLATFORM=offscreen
export QTWEBENGINE_DISABLE_SANDBOX=1
export QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu
exec ctest --test-dir "$build_dir" --output-on-failure
