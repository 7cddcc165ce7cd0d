#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Brenvo needs.
# Idempotent: does nothing when everything is there. Works as root or through sudo.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config git
    libudev-dev    # udev's monitor: ports that come and go
    qt6-base-dev libgl-dev
    libpulse-dev    # the beep's tone through the sound server (loaded at run time)
    libgtest-dev libgmock-dev libbenchmark-dev
    libcli11-dev nlohmann-json3-dev
    fonts-dejavu-core fonts-dejavu-extra
    xvfb xauth xdotool
    clang libclang-rt-dev clang-format ccache
    file    # cpack, for the package's library dependencies
    gettext    # the translation catalogues: msgfmt, xgettext, msgcmp
    locales    # localedef and the locale sources: a German locale for the tests of numbers
    qt6-translations-l10n    # the toolkit's own texts (file dialog, message box buttons) in German
    appstream    # appstreamcli validates the software-centre metainfo
    dbus-daemon at-spi2-core python3-pyatspi    # the screen-reader test: its buses and an AT-SPI client
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    as_root=()
elif command -v sudo >/dev/null; then
    as_root=(sudo)
else
    echo "setup.sh: these packages are missing and neither root nor sudo is available: ${missing[*]}" >&2
    exit 1
fi
echo "setup.sh: installing ${missing[*]}"
"${as_root[@]}" apt-get update -q
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
