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
stage fuzz fuzz table_reader_fuzz corpus 20
grep -E '^stat::number_of_executed_units' "$logs/fuzz.log" | sed 's/^stat::number_of_executed_units: */  inputs run: /' || true
stage fuzz-full-text fuzz full_text_reader_fuzz full_text_corpus 10
grep -E '^stat::number_of_executed_units' "$logs/fuzz-full-text.log" | sed 's/^stat::number_of_executed_units: */  inputs run: /' || true
stage fuzz-ini fuzz ini_reader_fuzz ini_corpus 5
grep -E '^stat::number_of_executed_units' "$logs/fuzz-ini.log" | sed 's/^stat::number_of_executed_units: */  inputs run: /' || true

t0=$SECONDS
source scripts/wine-env.sh
printf '%-22s %4d s\n' wine-environment $((SECONDS - t0))
echo "windows tests (display $DISPLAY); $((SECONDS - started)) s so far"
# Wine's desktop process ends a few seconds after the last program; the next test would start it
# again and hand it its output, which ctest then waits on for as long as the desktop lives. One
# started here, apart from the tests, serves the whole stage. It ends at once while another
# desktop process still runs (wineboot's, say), so it is started again once that one has gone.
for ((try = 0; try < 5; try++)); do
  setsid wine explorer.exe /desktop </dev/null >>"$logs/wine-desktop.log" 2>&1 &
  desktop=$!
  sleep 2
  kill -0 "$desktop" 2>/dev/null && break
  sleep 3
done
trap 'kill "$desktop" 2>/dev/null || true' EXIT
# Two at a time; the tests that share the display or the prefix's settings take turns (their
# RESOURCE_LOCK and RUN_SERIAL properties).
stage test-windows ctest --preset windows -j "$jobs" --timeout 300
sed -n '/tests passed\|tests failed/,$p' "$logs/test-windows.log"
