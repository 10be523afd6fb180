#!/usr/bin/env bash
# Runs a Windows program under Wine with the prefix's system DPI (Wine's LogPixels) set, and set
# back to 96 however it ends:  at_system_dpi.sh DPI PROGRAM.exe [ARGS...]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-env.sh"
set_dpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f \
    </dev/null >/dev/null 2>&1
}
trap 'set_dpi 96' EXIT
set_dpi "$1"
shift
wine "$@"
