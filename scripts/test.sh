#!/usr/bin/env bash
# The test command: installs what is missing, builds every preset and runs every test suite:
# the core's tests natively and under AddressSanitizer/UndefinedBehaviorSanitizer, a short
# fuzzing run of the table reader, of the reader of the whole texts beside it and of the
# Quenda.ini reader, then the Windows tests under Wine (last, so the output ends
# with their summary). Stops at the first failing stage with a non-zero exit status.
# Each stage's full output is in build/logs/.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
root=$PWD
logs="$root/build/logs"
mkdir -p "$logs"
jobs=2
started=$SECONDS

# stage NAME COMMAND...: runs COMMAND with its output in build/logs/NAME.log and prints one line
# with the time taken; on failure prints the end of the log and exits.
stage() {
  local name=$1; shift
  local log="$logs/$name.log" t0=$SECONDS rc=0
  "$@" >"$log" 2>&1 </dev/null || rc=$?
  if ((rc != 0)); then
    tail -n 150 "$log"
    echo "FAILED: $name (exit status $rc; full output in ${log#"$root"/})"
    exit "$rc"
  fi
  printf '%-22s %4d s\n' "$name" $((SECONDS - t0))
  # A clean build stays quiet; a compiler warning is shown once.
  if [[ $name == build-* ]]; then grep -E ': warning: ' "$log" | sort -u || true; fi
}

# The last line of ctest's summary ("100% tests passed, 0 tests failed out of N").
summary() { grep -E 'tests passed|tests failed' "$logs/$1.log" | tail -n 1; }

stage deps bash scripts/deps.sh
# Wine's prefixes are set up meanwhile: the stage's own, for the tests that run beside anything,
# and one per desktop that ctest hands out (tests/wine_desktops.json), each with its wineserver
# and display. Mostly waiting, so beside the builds.
desktops=$(grep -o '"id": *"[0-9]*"' tests/wine_desktops.json | grep -o '[0-9]*' | tr '\n' ' ')
wine_setup_started=$SECONDS
(
  lanes=()
  for lane in 0 $desktops; do
    QUENDA_WINE_LANE=$lane bash -c 'source scripts/wine-env.sh' &
    lanes+=($!)
  done
  for lane in "${lanes[@]}"; do wait "$lane"; done
) >"$logs/wine-environment.log" 2>&1 </dev/null &
wine_setup=$!
for preset in native native-asan fuzz windows; do
  stage "configure-$preset" cmake --preset "$preset"
  stage "build-$preset" cmake --build --preset "$preset" -j "$jobs"
done

stage test-native ctest --preset native -j "$jobs" --timeout 300
summary test-native
stage test-native-asan ctest --preset native-asan -j "$jobs" --timeout 300
summary test-native-asan

# Short fuzzing runs from the seed corpora; they work on copies, so the repository stays as it is.
# fuzz NAME CORPUS SECONDS
fuzz() {
  local fuzzer="$root/build/fuzz/tests/fuzz/$1" rc=0
  if [[ ! -x "$fuzzer" ]]; then
    echo "the fuzz preset built no $fuzzer"
    return 1
  fi
  fuzz_tmp=$(mktemp -d)
  trap 'rm -rf "$fuzz_tmp"' EXIT
  cp -r "$root/tests/fuzz/$2" "$fuzz_tmp/corpus"
  mkdir "$fuzz_tmp/artifacts"
  "$fuzzer" -max_total_time="$3" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$fuzz_tmp/artifacts/" "$fuzz_tmp/corpus" || rc=$?
  if ((rc != 0)); then
    mkdir -p "$root/build/fuzz-artifacts"
    cp "$fuzz_tmp"/artifacts/* "$root/build/fuzz-artifacts/" 2>/dev/null || true
    echo "fuzzer failed; inputs that failed are in build/fuzz-artifacts/"
  fi
  rm -rf "$fuzz_tmp"
  trap - EXIT
  return "$rc"
}
# The reader of the table on one core, the two short ones after each other on the other.
fuzzed() { grep -E '^stat::number_of_executed_units' "$logs/$1.log" | sed "s/^stat::number_of_executed_units: */  $1: inputs run: /" || true; }
(stage fuzz-full-text fuzz full_text_reader_fuzz full_text_corpus 10 &&
  stage fuzz-ini fuzz ini_reader_fuzz ini_corpus 5) &
short_fuzzers=$!
stage fuzz fuzz table_reader_fuzz corpus 20
wait "$short_fuzzers" || exit 1
for name in fuzz fuzz-full-text fuzz-ini; do fuzzed "$name"; done

t0=$SECONDS
wait "$wine_setup" || { cat "$logs/wine-environment.log"; echo "FAILED: wine-environment"; exit 1; }
source scripts/wine-env.sh
printf '%-22s %4d s (%d s since it began beside the builds)\n' wine-environment \
  $((SECONDS - t0)) $((SECONDS - wine_setup_started))
echo "windows tests (display $DISPLAY, desktops $desktops); $((SECONDS - started)) s so far"
# Wine's desktop process ends a few seconds after the last program; the next test would start it
# again and hand it its output, which ctest then waits on for as long as the desktop lives. One
# started here in each prefix, apart from the tests, serves the whole stage. It ends at once
# while another desktop process still runs (wineboot's, say), so it is started again once that
# one has gone.
declare -A desktop_pids
keep_desktop() {  # LANE
  QUENDA_WINE_LANE=$1 setsid bash -c 'source scripts/wine-env.sh && exec wine explorer.exe /desktop' \
    </dev/null >>"$logs/wine-desktop.log" 2>&1 &
  desktop_pids[$1]=$!
}
for lane in 0 $desktops; do keep_desktop "$lane"; done
for ((try = 0; try < 5; try++)); do
  sleep 2
  gone=()
  for lane in "${!desktop_pids[@]}"; do
    kill -0 "${desktop_pids[$lane]}" 2>/dev/null || gone+=("$lane")
  done
  ((${#gone[@]})) || break
  sleep 3
  for lane in "${gone[@]}"; do keep_desktop "$lane"; done
done
trap 'kill "${desktop_pids[@]}" 2>/dev/null || true' EXIT
# A desktop each, and one more for the tests that need none.
test_jobs=$(($(wc -w <<<"$desktops") + 1))
# The tests that need a desktop alone take one each (their RESOURCE_GROUPS); the others run
# beside them.
stage test-windows ctest --preset windows -j "$test_jobs" --timeout 300
sed -n '/tests passed\|tests failed/,$p' "$logs/test-windows.log"
