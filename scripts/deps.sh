#!/usr/bin/env bash
# Installs the Debian 12 packages the suite needs to build, test and run,
# skipping those already present.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    libgtest-dev libgmock-dev
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 libgl-dev libx11-dev
    xvfb xauth fonts-dejavu-core valgrind
    weston qt6-wayland
    libgdal-dev gdal-bin python3-ezdxf python3-scipy
)
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}" >&2
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi
