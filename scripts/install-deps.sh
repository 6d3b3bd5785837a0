#!/usr/bin/env bash
# Installs the Debian packages the project builds and runs with; does nothing
# when they are all present. Uses sudo when not run as root.
set -euo pipefail

packages=(
  cmake g++ make pkg-config clang-14 clang-tidy-14
  libsdl2-dev libsdl2-ttf-dev libfluidsynth-dev timgm6mb-soundfont libsdl2-mixer-dev
  libcairo2-dev fonts-dejavu-core fonts-dejavu-extra
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
  libassimp-dev libsdl2-image-dev
  libpixman-1-dev libsdl2-gfx-dev
  libepoxy-dev help2man dpkg-dev libgl1-mesa-dri libegl-mesa0
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update
$sudo apt-get install -y --no-install-recommends "${missing[@]}"
