#!/usr/bin/env bash
# Installs the toolchain Quenda's build and tests need (Debian); does nothing when all is present.
set -euo pipefail
# apt-get and the tools it runs warn about a caller's locale that is not there yet.
export LC_ALL=C.UTF-8
pkgs=(cmake ninja-build g++ googletest libgtest-dev libbenchmark-dev clang libclang-rt-dev
      g++-mingw-w64-x86-64-posix mingw-w64-tools wine wine64 xvfb x11-utils xdotool
      imagemagick fonts-ipafont-gothic fonts-wine e2fsprogs locales procps)
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
# Wine takes its code page (932) from LC_ALL=ja_JP.UTF-8; the C library's locale keeps bash and
# other tools from warning about it. Without the rights to add it, scripts/wine-env.sh makes one
# of its own under build/.
if ! locale -a 2>/dev/null | grep -ix 'ja_JP\.utf-\?8' >/dev/null; then
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo localedef -i ja_JP -c -f UTF-8 -A /usr/share/locale/locale.alias ja_JP.UTF-8 \
    >/dev/null 2>&1 || true
fi
bash "$(dirname "${BASH_SOURCE[0]}")/fetch-benchmark-source.sh"
