#!/usr/bin/env bash
# Installs the Debian packages needed to build, run and test the wizard.
set -euo pipefail
packages=(cmake g++ clang make pkg-config libfltk1.3-dev fluid libgtest-dev libgmock-dev
          xvfb xauth x11-utils xdotool fonts-dejavu-core fonts-liberation fonts-liberation2 fonts-roboto-unhinted fluxbox)
packages+=("$@")  # more for other builds (scripts/install-windows-deps.sh)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
