#!/usr/bin/env bash
# Installs every Debian 12 package the build, the tests and the benchmarks need.
# Skips the package manager entirely when everything is already present.
set -euo pipefail

packages=(
  build-essential git cmake ninja-build pkg-config clang libclang-rt-14-dev clang-format clang-tidy
  qt6-base-dev qt6-svg-dev libgl-dev
  librtaudio-dev librtmidi-dev libsoxr-dev
  jackd2 libjack-jackd2-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  ccache
  xvfb xauth desktop-file-utils shared-mime-info dpkg-dev
  lv2-dev liblilv-dev lilv-utils jalv appstream lintian man-db libglib2.0-bin
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]}; run as root to install them." >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
echo "jackd2 jackd/tweak_rt_limits boolean false" | debconf-set-selections
apt-get update
apt-get install -y --no-install-recommends "${missing[@]}"
