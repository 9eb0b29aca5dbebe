#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing.
set -euo pipefail
packages=(cmake ninja-build g++ make libgtest-dev libgmock-dev libbenchmark-dev pkg-config)
# The designer and its offscreen tests: Qt 6 widgets and a font for rendering.
packages+=(qt6-base-dev qt6-base-dev-tools libgl-dev fonts-dejavu-core)
# Sim Action Sound plays wave files through Qt Multimedia.
packages+=(qt6-multimedia-dev)
# The install test validates the designer's desktop entry.
packages+=(desktop-file-utils)
# The FFT benchmark's comparison (FFTW is linked by nothing else).
packages+=(libfftw3-dev)
# The neural network benchmark's yardstick (FANN); linked by that benchmark alone.
packages+=(libfann-dev)
# `make bench` prints its summary table of the speed targets with Python.
packages+=(python3)
# The sanitizer build and the fuzz targets: clang with its runtimes and symbolizer.
packages+=(clang libclang-rt-14-dev llvm-14)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
