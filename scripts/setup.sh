#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, skipping those present.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    libgtest-dev libbenchmark-dev
    qt6-base-dev
    fonts-liberation2 fonts-dejavu-core
    locales
    clang libclang-rt-14-dev
    xvfb xauth xdotool openbox x11-utils
    desktop-file-utils appstream
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ $status == "install ok installed" ]] || missing+=("$package")
done
((${#missing[@]} == 0)) && exit 0

echo "installing: ${missing[*]}"
sudo=()
((EUID == 0)) || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
