#!/usr/bin/env bash
# Runs a Windows program under Wine in Quenda's environment: wine-run.sh PROGRAM.exe [ARGS...]
# ctest's emulator for the Windows build. The program's output and exit status pass through.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
exec wine "$@"
