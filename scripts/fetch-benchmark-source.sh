#!/usr/bin/env bash
# Google Benchmark for the Windows (MinGW) benchmarks: Debian ships it only built for Linux, so
# its Debian source package is unpacked into build/deps/ once. Idempotent.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
deps="$root/build/deps"
[[ -f "$deps/benchmark/CMakeLists.txt" ]] && exit 0
mkdir -p "$deps/apt/lists/partial"
echo 'deb-src http://deb.debian.org/debian bookworm main' >"$deps/apt/sources.list"
apt_opts=(-o "Dir::Etc::SourceList=$deps/apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
          -o "Dir::State::Lists=$deps/apt/lists" -o APT::Sandbox::User=root)
apt-get "${apt_opts[@]}" -qq update
(cd "$deps/apt" && apt-get "${apt_opts[@]}" -qq source --download-only benchmark)
tarball=$(ls "$deps"/apt/benchmark_*.orig.tar.gz | head -n 1)
rm -rf "$deps/benchmark.tmp" && mkdir -p "$deps/benchmark.tmp"
tar -xzf "$tarball" -C "$deps/benchmark.tmp" --strip-components=1
mv "$deps/benchmark.tmp" "$deps/benchmark"
