#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the run command need, when missing.
set -euo pipefail

packages=(
    build-essential cmake pkg-config binutils
    libgtest-dev libgmock-dev libbenchmark-dev
    libmicrohttpd-dev libexpat1-dev libcrypt-dev libcurl4-openssl-dev
    sblim-wbemcli curl openssl python3 wrk
    dpkg-dev debhelper fakeroot lintian help2man ccache clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Need root (or sudo) to install: ${missing[*]}" >&2; exit 1; }
    sudo="sudo"
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
