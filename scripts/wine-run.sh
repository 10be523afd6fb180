#!/usr/bin/env bash
# Runs a Windows program under Wine in Quenda's environment: wine-run.sh PROGRAM.exe [ARGS...]
# ctest's emulator for the Windows build. The program's output and exit status pass through.
# ctest starts one per test; when the caller has set up this prefix already (scripts/test.sh, or
# `source scripts/wine-env.sh` by hand), it is not checked again each time. A test that ctest
# gave a desktop of its own (see wine-env.sh) runs in that lane's prefix.
set -euo pipefail
prefix="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/wineprefix"
if [[ ${CTEST_RESOURCE_GROUP_0_DESKTOP:-} =~ id:([0-9]+) ]] && ((BASH_REMATCH[1] != 0)); then
  prefix+="-${BASH_REMATCH[1]}"
fi
if [[ ${QUENDA_WINE_READY:-} != "$prefix" ]]; then
  source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
fi
exec wine "$@"
