#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need,
# only those that are missing, without questions.
set -euo pipefail
packages=(g++ cmake ninja-build qt6-base-dev qt6-multimedia-dev libqt6sql6-sqlite libsqlite3-dev libqt6multimedia6
          gstreamer1.0-plugins-base fonts-dejavu-core poppler-utils)
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
