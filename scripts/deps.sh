#!/usr/bin/env bash
# Installs the Debian packages the project needs to build, run and test.
# Idempotent: apt-get only installs what is missing.
set -euo pipefail
SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO="sudo"; fi
PACKAGES=(cmake make g++ clang qtbase5-dev qtbase5-dev-tools libqt5xml5
          libgtest-dev libbenchmark-dev fonts-noto-cjk fonts-dejavu-core
          xvfb xauth xdotool python3 clang-format git)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
