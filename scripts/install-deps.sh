#!/usr/bin/env bash
# Installs the Debian packages the project needs that are not there yet (sudo when not root).
set -euo pipefail
packages=(cmake ninja-build g++ pkg-config
          qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev
          libgtest-dev libgmock-dev libbenchmark-dev rapidjson-dev
          fonts-dejavu-core
          xvfb xdotool
          dpkg-dev file desktop-file-utils shared-mime-info xdg-utils libfile-mimeinfo-perl lintian
          python3-jsonschema
          clang libclang-rt-14-dev llvm)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
