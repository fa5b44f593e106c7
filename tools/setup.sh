#!/bin/bash
# Installs what is missing (Debian 12), then configures and builds in Release
# under build/: every target, or only those named in VW_TARGETS. Sourced by
# run.sh and test.sh; test.sh --sanitize sets VW_BUILD (the folder) and
# VW_CXX_FLAGS (extra flags).
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/${VW_BUILD:-build}"

PACKAGES=(cmake g++ make pkg-config qtbase5-dev libqt5serialport5-dev libqt5sql5-sqlite libsqlite3-dev
          libxcb1-dev libqt5x11extras5-dev qt5-image-formats-plugins libjpeg-turbo-progs
          qttools5-dev-tools qttranslations5-l10n socat xvfb xauth
          openbox xdotool x11-utils
          fonts-wqy-microhei)

missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO="sudo"
    echo "Installing: ${missing[*]}"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release ${VW_CXX_FLAGS:+"-DCMAKE_CXX_FLAGS=$VW_CXX_FLAGS"} \
    > "$BUILD.configure.log" 2>&1 \
    || { cat "$BUILD.configure.log"; exit 1; }
cmake --build "$BUILD" -j"$(nproc)" ${VW_TARGETS:+--target $VW_TARGETS}
