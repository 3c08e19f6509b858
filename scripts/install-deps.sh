#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the screenshots need.
# Idempotent: installs only what is missing and runs apt-get update only then.
set -euo pipefail

packages=(
  g++ cmake ninja-build make pkg-config
  qt6-base-dev qt6-svg-dev libgl-dev fonts-dejavu-core fonts-dejavu-extra
  libpugixml-dev libcli11-dev nlohmann-json3-dev libboost-math-dev libgtest-dev libgmock-dev libbenchmark-dev
  libopenmpi-dev openmpi-bin
  libxml2-utils xvfb xauth locales
  clang libclang-rt-14-dev clang-format-14
  python3-pandas python3-scipy r-base-core r-cran-exactranktests
  texlive-latex-recommended poppler-utils
  locales
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -eq 0 ]; then
  exit 0
fi

sudo=()
if [ "$(id -u)" -ne 0 ]; then sudo=(sudo); fi
echo "install-deps: installing ${missing[*]}"
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
