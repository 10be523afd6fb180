#!/usr/bin/env bash
# Start-up time of Quenda.exe under Wine, from process creation to its main window shown,
# beside two floors measured in the same run (runs interleaved): a bare Win32 window, and a
# window like Quenda's (a menu, 69 child buttons, a Japanese font, the same system libraries).
# Then the resident memory (VmRSS) of each with its window shown, Quenda with a full table.
#   bench/startup.sh [BUILD_DIR (build/windows)] [RUNS (10)]
# Run in a folder holding a valid table, so that no error box delays the window.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-$root/build/windows}" && pwd)
runs=${2:-10}
source "$root/scripts/wine-env.sh"

work=$(mktemp -d /tmp/quenda-startup.XXXXXX)
trap 'rm -rf "$work"' EXIT
bash "$root/tests/e2e/make_table.sh" "$work/Quenda.Tbl" filled

win() { winepath -w "$1" 2>/dev/null; }
# The driver's output goes through a file: a pipe would be held open by the programs it starts.
timeout 600 wine "$build/tests/e2e/quenda_driver.exe" startup-time "$(win "$work")" "$runs" \
  "$(win "$build/Quenda.exe")" TMainForm \
  "$(win "$build/tests/e2e/minimal_window.exe")" MinimalWindow \
  "$(win "$build/tests/e2e/floor_window.exe")" FloorWindow \
  </dev/null >"$work/times" 2>"$work/errors" || { cat "$work/errors" >&2; exit 1; }

echo "start-up to main window shown, ms ($runs runs each, $(wine --version))"
awk '{
  name = $1; sub(/.*\\/, "", name)
  printf "%-20s median %7.1f   runs:", name, $NF
  for (i = 2; i < NF - 1; i++) printf " %.1f", $i
  printf "\n"
  median[NR] = $NF
} END {
  printf "ratio Quenda / bare window:        %.2f\n", median[1] / median[2]
  printf "ratio Quenda / window like Quenda: %.2f\n", median[1] / median[3]
}' "$work/times"

# Resident memory: each program started alone, measured a second after its window shows.
driver() { timeout 60 wine "$build/tests/e2e/quenda_driver.exe" "$@" </dev/null 2>>"$work/errors"; }
echo "resident memory with the window shown, MB"
for program in Quenda.exe:TMainForm tests/e2e/minimal_window.exe:MinimalWindow \
               tests/e2e/floor_window.exe:FloorWindow; do
  exe=${program%%:*} class=${program##*:}
  winexe=$(win "$build/$exe")
  driver start "$winexe" "$(win "$work")" >"$work/pid"
  pid=$(tr -d '\r' <"$work/pid")
  driver window "$pid" "$class" 30000 >/dev/null
  sleep 1
  # The Wine process of this very file: its command line starts with the Windows path.
  rss=0
  for p in /proc/[0-9]*; do
    cmd=$(tr '\0' ' ' 2>/dev/null <"$p/cmdline") || continue
    [[ $cmd == "$winexe"* ]] || continue
    rss=$(awk '/^VmRSS/ {print $2}' "$p/status")
  done
  driver close "$pid" wm-close 10000 >/dev/null || driver kill "$pid" >/dev/null
  printf "%-20s %7.1f\n" "$(basename "$exe")" "$(awk -v k="$rss" 'BEGIN{print k/1024}')"
done
