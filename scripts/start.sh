#!/usr/bin/env bash
# Installs what is missing, builds Pruvex in ./build and starts it.
# PRUVEX_BUILD_DIR names another build folder.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

build_dir=${PRUVEX_BUILD_DIR:-build}
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build_dir" -j2

# >>> EDITOR START >>> (to be filled in once the editor window exists)
# With a display, start the editor with the default quiz, e.g.:
#   if [[ -x "$build_dir/bin/pruvex" && -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
#       exec "$build_dir/bin/pruvex" "$@"
#   fi
# <<< EDITOR START <<<

# Until then: export the bundled sample quiz as a page.
page=$(realpath -m "$build_dir/beispiel.htm")
"$build_dir/bin/pruvex-cli" export "$build_dir/bin/beispiel.pvx" -o "$page"
echo
echo "Die Beispielseite ist fertig: $page"
echo "Öffnen Sie sie in einem Browser, z. B.: xdg-open '$page'"
