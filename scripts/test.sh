#!/usr/bin/env bash
# Installs what is missing, builds Pruvex in ./build and runs every test,
# then the fuzz harnesses (scripts/fuzz.sh, in ./build-fuzz).
# PRUVEX_BUILD_DIR names another build folder.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/build.sh
build_dir=${PRUVEX_BUILD_DIR:-build}

# axe-core for the accessibility check of the page in the browser test
# (tst_pagebrowser); without it, or without network, that check is skipped.
axe_dir="$build_dir/axe"
if [[ ! -f "$axe_dir/node_modules/axe-core/axe.min.js" ]] && command -v npm >/dev/null; then
    mkdir -p "$axe_dir"
    npm install --prefix "$axe_dir" --no-audit --no-fund --no-save --silent axe-core@4 >/dev/null 2>&1 ||
        echo "test: axe-core could not be installed; the accessibility check is skipped." >&2
fi

# Headless: no display, no GPU, and WebEngine without its sandbox (which
# needs privileges that containers and CI runners often lack).
export QT_QPA_PLATFORM=offscreen
export QTWEBENGINE_DISABLE_SANDBOX=1
export QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu
status=0
ctest --test-dir "$build_dir" --output-on-failure || status=$?

# The fuzz harnesses, built apart with clang and the sanitizers: each over
# its corpus of every input that ever failed, then a fixed set of new inputs,
# the same on every machine.
scripts/fuzz.sh || status=1
exit $status
