#!/usr/bin/env bash
# Installs what is missing, builds Pruvex in ./build and starts the quiz
# server pruvex-server with its defaults: http://127.0.0.1:8080/quiz/v13/quiz.php,
# the address a new quiz posts to, so the editor's preview and exported
# pages are evaluated here. Arguments are passed on (--config, --listen, ...).
# PRUVEX_BUILD_DIR names another build folder.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/build.sh
build_dir=${PRUVEX_BUILD_DIR:-build}

cat >&2 <<MSG
Der Quiz-Server startet. Quiz-Seiten, die an http://localhost:8080/quiz/v13/quiz.php
senden (die Vorgabe neuer Quiz), werden hier ausgewertet; die Ergebnisse zeigt
  $build_dir/bin/pruvex-server results --format csv
Beenden mit Strg+C.
MSG
exec "$build_dir/bin/pruvex-server" "$@"
