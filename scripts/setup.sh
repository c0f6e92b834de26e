#!/usr/bin/env bash
# Installs what Vekta needs to build, test and run on Debian 12. Run as root
# (or with sudo available); packages already present are left alone.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config clang-format clang-14 libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-qpa-plugins
  libpng-dev libjpeg62-turbo-dev libgif-dev poppler-utils zlib1g-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation2 fontconfig locales
  xvfb xauth x11-utils imagemagick librsvg2-bin
  dpkg-dev desktop-file-utils appstream
)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A locale that writes numbers with a decimal comma, so that the tests can
# show numbers in files do not follow the C library's locale.
if ! locale -a 2>/dev/null | grep -qix 'de_DE.utf8'; then
  $SUDO sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  $SUDO locale-gen >/dev/null
fi
