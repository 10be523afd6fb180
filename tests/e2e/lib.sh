# Shared by the end-to-end scripts; sourced as `source lib.sh BUILD_DIR`.
# Gives each script a fresh folder ($work, its Windows path $wwork), Wine's environment, the
# driver, assertions, and a clean-up that runs on every exit: Quenda processes started here are
# ended, registered undo steps run (chattr -i, umount), the folder goes.
set -euo pipefail

e2e_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$e2e_dir/../.." && pwd)
build=$(cd "${1:?usage: $0 BUILD_DIR}" && pwd)
quenda_exe=$build/Quenda.exe
driver_exe=$build/tests/e2e/quenda_driver.exe
if [[ ! -f $quenda_exe || ! -f $driver_exe ]]; then
  echo "FAIL: build $quenda_exe and $driver_exe first" >&2
  exit 1
fi

source "$root/scripts/wine-env.sh"

# How long any one awaited event may take (milliseconds), and the guard on a whole Wine call.
wait_ms=20000
call_guard=60

work=$(mktemp -d /tmp/quenda-e2e.XXXXXX)
log=$work.log
started_pids=()
undo_steps=()

cleanup() {
  local status=$? step
  trap - EXIT
  [[ -n ${drv_to:-} ]] && exec {drv_to}>&-  # the serving driver ends at the end of its input
  if ((${#started_pids[@]})); then
    timeout "$call_guard" wine "$driver_exe" kill "${started_pids[@]}" \
      </dev/null >>"$log" 2>&1 || true
  fi
  for ((step = ${#undo_steps[@]} - 1; step >= 0; step--)); do
    eval "${undo_steps[step]}" >>"$log" 2>&1 || true
  done
  if ((status != 0)) && [[ -s $log ]]; then
    echo "--- log of Wine calls ---" >&2
    cat "$log" >&2
  fi
  rm -rf "$work" "$work".*
  # The backups Quenda kept on this PC for the table in $work.
  rm -rf "$WINEPREFIX"/drive_c/users/*/AppData/Local/Quenda/Backups/"${work##*/}"-*
  exit "$status"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# The driver serves the whole script from one process, one command a line (its "serve"): a Wine
# program's start costs a tenth of a second of processor time. hold and wait-exit, which run in
# the background beside other calls, start a driver of their own; so does every call once the
# serving one has missed its time guard, as its answers could then be out of step, or has ended
# (Wine has been seen to end a program at once in a long run).
mkfifo "$work.drv-in" "$work.drv-out"
wine "$driver_exe" serve <"$work.drv-in" >"$work.drv-out" 2>>"$log" &
drv_server=$!
exec {drv_to}>"$work.drv-in" {drv_from}<"$work.drv-out"

drv_send() {
  local IFS=$'\t'
  printf '%s\n' "$*" >&"$drv_to"
}

# The driver, under a time guard; its output on stdout, its messages and status in the log.
# Stdin and stray output of Wine stay away from the caller's pipes.
drv() {
  local status=0 try line
  if [[ ! $1 =~ ^(hold|wait-exit)$ && ! -e $work.drv-late ]] && kill -0 "$drv_server" 2>/dev/null
  then
    echo "+ driver $*" >>"$log"
    drv_send "$@"
    while IFS= read -r -t "$call_guard" -u "$drv_from" line; do
      if [[ $line == $'\x04'* ]]; then
        status=${line#$'\x04'}
        ((status == 0)) || echo "  exit status $status" >>"$log"
        return "$status"
      fi
      printf '%s\n' "$line"
    done
    echo "  no answer: the serving driver ended or took over $call_guard s" >>"$log"
    : >"$work.drv-late"
    return 124
  fi
  for try in 1 2; do
    status=0
    echo "+ driver $*" >>"$log"
    timeout "$call_guard" wine "$driver_exe" "$@" </dev/null 2>"$work.drv-err" \
      {drv_to}>&- {drv_from}<&- || status=$?
    cat "$work.drv-err" >>"$log"
    ((status == 0)) && return 0
    echo "  exit status $status" >>"$log"
    # Like winepath, the driver has been seen to end at once without a word in a long run; a
    # command that only looks is asked again then. One that acts is never repeated.
    [[ -s $work.drv-err || $1 =~ ^(click|rclick|wclick|press|close|kill|start|run|hold|browser)$ ]] &&
      break
  done
  return "$status"
}

# The Windows path of $1. winepath is itself a Wine program and has been seen to print nothing
# once in a long run, so an answer that is no drive path is asked for again before giving up.
winpath() {
  local try path
  for try in 1 2 3; do
    path=$(timeout "$call_guard" winepath -w "$1" 2>>"$log") || true
    if [[ $path == [A-Z]:\\* ]]; then
      printf '%s\n' "$path"
      return 0
    fi
    echo "+ winepath $1 gave '$path' (try $try)" >>"$log"
    sleep 1
  done
  fail "winepath gave no Windows path for $1"
}

wwork=$(winpath "$work") || exit 1
wquenda=$(winpath "$quenda_exe") || exit 1

# Starts Quenda.exe in folder $1 (default: $work) and sets $pid. The output goes through a
# file: a pipe would stay open for as long as Quenda, which inherits it, runs.
start_quenda() {
  local dir=${1:-$work} out=$work.start wdir=$wwork
  [[ $dir == "$work" ]] || wdir=$(winpath "$dir") || exit 1
  drv mutex-free 60000 ||
    fail "another Quenda kept running in this Wine prefix; these tests need it alone"
  # Quenda keeps no end of the serving driver's pipes open.
  timeout "$call_guard" wine "$driver_exe" start "$wquenda" "$wdir" \
    </dev/null >"$out" 2>>"$log" {drv_to}>&- {drv_from}<&- || fail "starting Quenda.exe in $dir failed"
  pid=$(<"$out")
  rm -f "$out"
  [[ $pid =~ ^[0-9]+$ ]] || fail "the driver gave no process id: '$pid'"
  started_pids+=("$pid")
}

# The value of KEY in driver output "KEY=VALUE" lines.
field() { sed -n "s/^$1=//p" <<<"$2"; }

expect_eq() {  # ACTUAL EXPECTED WHAT
  [[ "$1" == "$2" ]] || fail "$3: expected '$2', got '$1'"
}

# Waits for Quenda's main window: visible, 366 x 362, captioned "Quenda", and enabled (no box
# left it disabled).
expect_main_window() {
  local out
  out=$(drv window "$pid" TMainForm "$wait_ms") || fail "no main window appeared ($1)"
  expect_eq "$(field caption "$out")" "Quenda" "main window caption ($1)"
  expect_eq "$(field client "$out")" "366x362" "main window client size ($1)"
  expect_eq "$(field enabled "$out")" "1" "main window enabled ($1)"
}

# Waits for a message box and checks it is Quenda's error box with exactly the text $1.
expect_error_box() {
  local out
  out=$(drv dialog "$pid" "$wait_ms") || fail "no message box appeared (expected '$1')"
  expect_eq "$(field text "$out")" "$1" "error box text"
  expect_eq "$(field caption "$out")" "Quenda" "error box caption"
  expect_eq "$(field icon "$out")" "error" "error box icon"
  expect_eq "$(field buttons "$out")" "1:OK" "error box buttons"
}

press_ok() { drv press "$pid" 1 "$wait_ms" || fail "could not dismiss the message box"; }

# Waits for a message box and checks it is Quenda's question $1: caption "確認", Yes and No.
expect_question() {
  local out
  out=$(drv dialog "$pid" "$wait_ms") || fail "no message box appeared (expected '$1')"
  expect_eq "$(field text "$out")" "$1" "question text"
  expect_eq "$(field caption "$out")" "確認" "question caption"
  expect_eq "$(field icon "$out")" "none" "question icon"
  [[ $(field buttons "$out") =~ ^6:[^[:space:]]+[[:space:]]7:[^[:space:]]+$ ]] ||
    fail "question buttons: expected Yes (6) and No (7), got '$(field buttons "$out")'"
}

# Answers the message box with No: Quenda goes on with no box left.
answer_no() {
  drv press "$pid" 7 "$wait_ms" || fail "could not answer No"
  expect_eq "$(drv state "$pid")" "running main=1 dialogs=0" "after No"
}

# Runs a command that should make Quenda end ($1 says what it is, the rest is the command) and
# expects exit code 0. The process is held first, so that its exit code cannot get lost.
expect_exit_after() {
  local what=$1 give_up=$((SECONDS + wait_ms / 1000))
  shift
  drv wait-exit "$pid" "$wait_ms" >"$work.exit" &
  until grep -qx watching "$work.exit"; do
    ((SECONDS < give_up)) && ! grep -qx gone "$work.exit" ||
      fail "the driver could not hold process $pid: $(<"$work.exit")"
    sleep 0.01
  done
  "$@" || fail "$what failed"
  wait %% || true
  expect_eq "$(tail -n 1 "$work.exit")" "exited 0" "outcome of $what"
}

# Asks the main window to close ($1: wm-close, sc-close or exit) and expects the outcome $2
# ("exited 0" or "dialog").
close_expect() {
  local out
  out=$(drv close "$pid" "$1" "$wait_ms") || true
  expect_eq "$out" "$2" "outcome of closing by $1"
}

size_of() { stat -c %s "$1"; }

# Gives Quenda's main window the X focus, as a click on it would, and waits for it to come to
# the front. With the machine busy, Wine has been seen to miss the focus change; it is given
# again then. Sets $xid, the main window's X window.
main_to_front() {
  local try
  xid=$(drv xwindow "$pid" TMainForm "$wait_ms") || fail "no X window for the main window"
  for try in 1 2 3; do
    xdotool windowfocus --sync "$xid" || fail "xdotool could not focus window $xid"
    drv foreground "$pid" TMainForm 5000 && return 0
  done
  fail "the main window did not come to the front"
}

# Presses KEYS (driver key names) until a window of CLASS shows: with the machine busy, keys sent
# right after a window came to the front have been seen to go nowhere.
press_for_window() {  # CLASS WHAT KEYS...
  local class=$1 what=$2 try
  shift 2
  for try in 1 2 3; do
    drv keys "$@" || fail "could not press $*"
    drv window "$pid" "$class" 5000 >/dev/null && return 0
  done
  fail "$what"
}

# The first item of the popup of slot button $1, chosen with the keyboard: "URL取得" on an address
# page, "内容の編集" on a program page. The main window comes to the front; the menu opens in
# Quenda's own loop, and keys choose from it once it shows.
first_popup_item() {
  main_to_front
  drv rclick "$pid" "$1" "$wait_ms" || fail "could not right-click slot button $1"
  drv window "$pid" '#32768' "$wait_ms" >/dev/null || fail "no popup menu appeared"
  xdotool key --clearmodifiers --delay 200 Down Return || fail "xdotool could not choose from the menu"
}

# The capture (URL取得), for scripts that set $table and $slot.
# start_browser SCENARIO: starts the stand-in browser, sets $browser. Not through drv: the
# browser must outlive the driver, and timeout's process group would take it along.
start_browser() {
  [[ -n ${wbrowser:-} ]] || wbrowser=$(winpath "$build/tests/fake_browser.exe") || exit 1
  wine "$driver_exe" browser "$wbrowser" "$1" 0 "$wait_ms" \
    </dev/null >"$work.browser" 2>>"$log" {drv_to}>&- {drv_from}<&- || fail "the stand-in browser ($1) did not start"
  browser=$(<"$work.browser")
  started_pids+=("$browser")
}

# URL取得 on the slot with this control identifier.
capture_into() { first_popup_item "$1"; }

# read_field OFFSET LENGTH: a field of record $slot in $table, without its padding.
read_field() {
  dd if="$table" bs=1 skip=$((slot * 1368 + $1)) count="$2" status=none | tr -d '\0'
}

# The capture saves the table at once; its bytes tell when it happened.
wait_for_address() {
  for ((i = 0; i < 100; i++)); do
    [[ $(read_field 68 128) == http* || $(read_field 68 128) == file:* ]] && return 0
    sleep 0.1
  done
  return 1
}
