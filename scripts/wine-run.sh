#!/usr/bin/env bash
# Runs a Windows program under Wine in Quenda's environment: wine-run.sh PROGRAM.exe [ARGS...]
# ctest's emulator for the Windows build. The program's output and exit status pass through.
# ctest starts one per test; when the caller has set up this prefix already (scripts/test.sh, or
# `source scripts/wine-env.sh` by hand), it is not checked again each time.
set -euo pipefail
if [[ ${QUENDA_WINE_READY:-} != "$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/wineprefix" ]]; then
  source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
fi
exec wine "$@"
