#!/usr/bin/env bash
# Installs the Debian 12 packages Q5CFG needs to build, test and run, when missing.
# Works as root, or as a normal user with sudo.
set -euo pipefail

PACKAGES=(
  build-essential cmake ccache pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-charts-dev libqt6opengl6-dev libgl-dev
  qt6-qpa-plugins fonts-dejavu-core fonts-droid-fallback xvfb xauth xdg-utils
  libgtest-dev libgmock-dev
  binutils poppler-utils
  # The Debian package (cpack -G DEB): its dependencies come from dpkg-shlibdeps, which
  # needs `file` to tell the programs from the other files.
  file dpkg-dev
  # The Windows build of the core and its tests, run under Wine (scripts/test-windows.sh):
  # the MinGW-w64 cross compiler, GoogleTest's source, and Wine.
  g++-mingw-w64-x86-64-posix googletest wine wine64
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
      echo "setup.sh: sudo is not installed; run scripts/setup.sh as root once to install the packages above" >&2
      exit 1
    fi
    SUDO="sudo"
  fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
