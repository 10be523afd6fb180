#!/usr/bin/env bash
# Installs the toolchain Quenda's build and tests need (Debian); does nothing when all is present.
set -euo pipefail
pkgs=(cmake ninja-build g++ googletest libgtest-dev libbenchmark-dev clang libclang-rt-dev
      g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64 xvfb x11-utils xdotool
      imagemagick fonts-ipafont-gothic e2fsprogs)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
