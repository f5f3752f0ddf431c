#!/usr/bin/env bash
# Installs the Debian packages the build, the game and the tests need; only what is missing.
set -euo pipefail

packages=(
    cmake make g++ pkg-config
    libx11-dev
    libsdl1.2-dev libsdl-image1.2-dev libsdl-ttf2.0-dev libsdl-mixer1.2-dev libsdl-gfx1.2-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    clang clang-format libclang-rt-14-dev
    xvfb xauth xdotool imagemagick x11-apps
    sox vorbis-tools python3-pil fonts-dejavu-core fonts-wqy-microhei
)

missing=()
for p in "${packages[@]}"; do
    if [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" != "install ok installed" ]; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
# sudo drops the caller's environment, so the front end is handed over through env; without it
# debconf looks for a terminal to ask on.
as_root=(env DEBIAN_FRONTEND=noninteractive)
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
        echo "Not root and no sudo: as root, run apt-get install ${missing[*]}" >&2
        exit 1
    fi
    as_root=(sudo "${as_root[@]}")
fi
"${as_root[@]}" apt-get update -q -o DPkg::Lock::Timeout=300
"${as_root[@]}" apt-get install -y -q --no-install-recommends -o DPkg::Lock::Timeout=300 \
    "${missing[@]}"
