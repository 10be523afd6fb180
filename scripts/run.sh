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

# On a first start in a folder without Quenda.Tbl the program reports the missing file in an
# error box (caption "Quenda" as well) before its main window; the screenshot shows whatever is
# on the screen at that moment.
shown=""
for ((i = 0; i < 300; i++)); do
  shown=$(windows)
  [[ -n "$shown" ]] && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if [[ -z "$shown" ]]; then
  echo "Quenda showed no window (another instance running in this Wine prefix?); output:" >&2
  cat "$log" >&2
  kill "$pid" 2>/dev/null || true
  exit 1
fi
sleep 1  # let it paint
import -window root "$shot"
echo "Screenshot: $shot"

# Close like a user: Alt+F4 to its visible window (the error box first, then the main window,
# which may take a moment to appear), so the program goes through its normal closing and saves
# its table.
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
