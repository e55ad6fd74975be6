#!/usr/bin/env bash
# Installs the Debian 12 packages the project builds, runs and tests with.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools
  firebird3.0-server-core firebird3.0-utils firebird-dev libfbclient2 libtommath1
  libcurl4-openssl-dev libgmime-3.0-dev libxlsxwriter-dev
  xvfb xauth fonts-dejavu-core socat xdg-utils unzip
  valgrind
  dovecot-core dovecot-pop3d
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
