#!/usr/bin/env bash
# Installs the Debian 12 packages that building and testing Pruvex need.
# Runs apt only when a package is missing, so a second run takes no time.
# Uses sudo when not run as root.
set -euo pipefail

packages=(
    cmake g++ make
    qt6-base-dev qt6-base-dev-tools qt6-webengine-dev
    libgl-dev          # Qt6Gui's CMake package looks for OpenGL
    xvfb xauth imagemagick  # a virtual display and "import" for the editor's screenshots
    fonts-dejavu-core  # a font, so that pages and windows render text
    qt6-translations-l10n  # Qt's own dialogs and the browser's pages in German
    libqt6sql6-sqlite libqt6sql6-psql  # the quiz server's databases
    pkg-config libcpp-httplib-dev libcurl4-openssl-dev  # the quiz server's HTTP and mail
    clang libclang-rt-14-dev  # libFuzzer and the sanitizers for the fuzz tests
    python3-aiosmtpd   # a real SMTP server for the mail tests
    openssl            # its certificate for the STARTTLS and SMTPS tests
    postgresql         # a real PostgreSQL for the database tests
)

missing=()
# npm brings axe-core for the page's accessibility check; a machine that has
# Node.js from elsewhere keeps it (Debian's npm would conflict with it).
command -v npm >/dev/null || packages+=(npm)
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
        missing+=("$p")
    fi
done

if [[ ${#missing[@]} -eq 0 ]]; then
    echo "install-deps: all packages are installed."
    exit 0
fi

sudo=()
if [[ $(id -u) -ne 0 ]]; then
    if ! command -v sudo >/dev/null; then
        echo "install-deps: missing packages (${missing[*]}); run this script as root or install sudo." >&2
        exit 1
    fi
    sudo=(sudo)
fi

echo "install-deps: installing ${missing[*]}"
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
