#!/usr/bin/env bash
# Installs what is missing, builds Pruvex in ./build and starts it.
# PRUVEX_BUILD_DIR names another build folder.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/build.sh
build_dir=${PRUVEX_BUILD_DIR:-build}

# Chromium inside Qt WebEngine refuses to run as root with its sandbox.
if [[ $(id -u) -eq 0 ]]; then
    export QTWEBENGINE_DISABLE_SANDBOX=1
fi

if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
    # The editor with the default quiz, or the project named as argument.
    exec "$build_dir/bin/pruvex" "$@"
fi

# No display: say so, and still show what Pruvex makes.
page=$(realpath -m "$build_dir/beispiel.htm")
"$build_dir/bin/pruvex-cli" export "$build_dir/bin/beispiel.pvx" -o "$page"
cat <<MSG

Pruvex ist gebaut, aber es gibt keine grafische Oberfläche (DISPLAY und
WAYLAND_DISPLAY sind nicht gesetzt). So geht es weiter:
  - in einer Desktop-Sitzung:      $build_dir/bin/pruvex
  - über SSH mit X-Weiterleitung:  ssh -X ... und dann scripts/start.sh
  - ohne Bildschirm (virtuell):    xvfb-run -a $build_dir/bin/pruvex
Ohne Fenster erzeugt pruvex-cli die Quiz-Seite; die Beispielseite liegt hier:
  $page
MSG
