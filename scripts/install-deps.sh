#!/usr/bin/env bash
# Installs every Debian package Morvaline needs to build, test and run.
# Only what is missing is installed; apt-get update runs once, and only then.
set -euo pipefail

PACKAGES=(
  build-essential g++ cmake ninja-build pkg-config
  clang libclang-rt-14-dev clang-format clang-tidy clazy
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev
  qt6-translations-l10n qt6-qpa-plugins qt6-gtk-platformtheme
  libgl-dev libxkbcommon-dev libfontconfig-dev
  libgtest-dev libgmock-dev
  libbenchmark-dev libx11-dev libxtst-dev libxcb1-dev
  fonts-noto-cjk
  xvfb xauth x11-utils xdotool
  desktop-file-utils appstream dpkg-dev file qt6-svg-dev
  lintian help2man locales poppler-utils cmark-gfm python3
  orca speech-dispatcher at-spi2-core dbus
  syncthing curl inotify-tools
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
