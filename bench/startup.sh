#!/usr/bin/env bash
# Start-up time of Quenda.exe under Wine, from process creation to its main window shown,
# beside a bare Win32 window program measured in the same run (runs interleaved).
#   bench/startup.sh [BUILD_DIR (build/windows)] [RUNS (10)]
# Run in a folder holding a valid table, so that no error box delays the window.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-$root/build/windows}" && pwd)
runs=${2:-10}
source "$root/scripts/wine-env.sh"

work=$(mktemp -d /tmp/quenda-startup.XXXXXX)
trap 'rm -rf "$work"' EXIT
bash "$root/tests/e2e/make_table.sh" "$work/Quenda.Tbl" blank

win() { winepath -w "$1" 2>/dev/null; }
# The driver's output goes through a file: a pipe would be held open by the programs it starts.
timeout 600 wine "$build/tests/e2e/quenda_driver.exe" startup-time "$(win "$work")" "$runs" \
  "$(win "$build/Quenda.exe")" TMainForm \
  "$(win "$build/tests/e2e/minimal_window.exe")" MinimalWindow \
  </dev/null >"$work/times" 2>"$work/errors" || { cat "$work/errors" >&2; exit 1; }

echo "start-up to main window shown, ms ($runs runs each, $(wine --version))"
awk '{
  name = $1; sub(/.*\\/, "", name)
  printf "%-20s median %7.1f   runs:", name, $NF
  for (i = 2; i < NF - 1; i++) printf " %.1f", $i
  printf "\n"
  median[NR] = $NF
} END { if (NR == 2) printf "ratio Quenda / minimal: %.2f\n", median[1] / median[2] }' "$work/times"
