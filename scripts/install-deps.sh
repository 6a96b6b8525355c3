#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the tools need, when missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
  libgtest-dev libbenchmark-dev
  clang-14 libclang-rt-14-dev
  bossa-cli
  dpkg-dev file
)
if [ "${1:-}" = "--gui" ]; then
  # The window tests run offscreen; the printed setlist is read back with pdftotext.
  packages+=(qt6-qpa-plugins fonts-dejavu-core poppler-utils)
fi
# What scripts/make-deb.sh checks the package with.
if [ "${1:-}" = "--package" ]; then
  packages+=(lintian appstream desktop-file-utils man-db)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
