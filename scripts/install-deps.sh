#!/usr/bin/env bash
# Installs every Debian package needed to build, run and test nfp-envio.
# Packages already present are skipped; apt-get runs through sudo when not root.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
  libcurl4-openssl-dev libssl-dev openssl
  libcups2-dev cups cups-client cups-bsd
  libcpp-httplib-dev libpugixml-dev
  libsqlite3-dev sqlite3
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  fonts-liberation fonts-dejavu-core
  xvfb xauth openbox imagemagick xdotool
  poppler-utils
  librsvg2-bin file dpkg-dev lintian desktop-file-utils appstream man-db systemd
  locales
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
