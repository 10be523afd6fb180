#!/usr/bin/env bash
# The start command: installs what is missing, builds Quenda.exe and starts it under Wine with the
# current folder as its working folder, where it keeps its table file Quenda.Tbl.
#
#   scripts/run.sh [SCREENSHOT]
#
# On a desktop the program simply runs. Without a display it runs on a virtual one: the script
# waits for its window, writes a screenshot (SCREENSHOT, else $QUENDA_SCREENSHOT, else
# ./quenda-screenshot.png), then closes the program the way a user would, which saves the table.
set -euo pipefail
here=$PWD
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
shot=${1:-${QUENDA_SCREENSHOT:-quenda-screenshot.png}}
[[ "$shot" == /* ]] || shot="$here/$shot"
logs="$root/build/logs"

bash "$root/scripts/deps.sh"
mkdir -p "$logs"
for step in "cmake --preset windows" "cmake --build --preset windows -j 2"; do
  if ! (cd "$root" && $step) >"$logs/run-build.log" 2>&1 </dev/null; then
    tail -n 150 "$logs/run-build.log"
    echo "FAILED: $step (full output in $logs/run-build.log)" >&2
    exit 1
  fi
done
exe="$root/build/windows/Quenda.exe"

source "$root/scripts/wine-env.sh"
cd "$here"
if [[ -z "${QUENDA_VIRTUAL_DISPLAY:-}" ]]; then
  exec wine "$exe"
fi

log="$logs/run-quenda.log"
wine "$exe" >"$log" 2>&1 </dev/null &
pid=$!

# Wine puts the Unix process id on its windows, so only this instance's windows are found.
windows() { xdotool search --onlyvisible --pid "$pid" --name '^Quenda$' 2>/dev/null || true; }

# On a first start in a folder without Quenda.Tbl (or with one it cannot read) the program
# reports it in an error box (caption "Quenda" as well, but a dialog to X) before its main
# window. The box is answered with Enter, so the screenshot shows the program itself.
of_type() {
  local w
  for w in $(windows); do
    if xprop -id "$w" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q "_$1\$"; then echo "$w"; fi
  done
}
shown="" told=""
for ((i = 0; i < 300; i++)); do
  shown=$(of_type NORMAL)
  [[ -n "$shown" ]] && break
  kill -0 "$pid" 2>/dev/null || break
  box=$(of_type DIALOG | head -n 1)
  if [[ -n "$box" ]]; then
    [[ -n "$told" ]] || echo "Quenda reported that it has no readable Quenda.Tbl here (as on a first start); answering with Enter"
    told=1
    sleep 0.5  # a box that has just appeared may not take keys yet
    xdotool windowfocus --sync "$box" key --clearmodifiers Return 2>/dev/null || true
  fi
  sleep 0.1
done
if [[ -z "$shown" ]]; then
  echo "Quenda showed no main window (another instance running in this Wine prefix?); output:" >&2
  cat "$log" >&2
  kill "$pid" 2>/dev/null || true
  exit 1
fi
sleep 1  # let it paint
# The main window's frame on the screen, from X; the shot is cropped to it.
eval "$(xdotool getwindowgeometry --shell "$(head -n 1 <<<"$shown")")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$shot"
echo "Screenshot: $shot"

# Close like a user: Alt+F4 to its visible window, so the program goes through its normal
# closing and saves its table.
deadline=$((SECONDS + 30))
while kill -0 "$pid" 2>/dev/null && ((SECONDS < deadline)); do
  w=$(windows | head -n 1)
  if [[ -z "$w" ]]; then
    sleep 0.2
    continue
  fi
  xdotool windowfocus "$w" key --clearmodifiers alt+F4 2>/dev/null || true
  # Wait for that window to go before pressing again.
  for ((j = 0; j < 50; j++)); do
    kill -0 "$pid" 2>/dev/null || break
    windows | grep -qx "$w" || break
    sleep 0.1
  done
done
if kill -0 "$pid" 2>/dev/null; then
  echo "Quenda did not close; stopping it" >&2
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  exit 1
fi
wait "$pid" || true
