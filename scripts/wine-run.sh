#!/usr/bin/env bash
# Runs a Windows program under Wine in Quenda's environment: wine-run.sh PROGRAM.exe [ARGS...]
# ctest's emulator for the Windows build. The program's output and exit status pass through.
# ctest starts one per test; when the caller has set up this prefix already (scripts/test.sh, or
# `source scripts/wine-env.sh` by hand), it is not checked again each time. A test that ctest
# gave a desktop of its own (see wine-env.sh) runs in that lane's prefix.
set -euo pipefail
prefix="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/wineprefix"
if [[ ${CTEST_RESOURCE_GROUP_0_DESKTOP:-} =~ id:([0-9]+) ]] && ((BASH_REMATCH[1] != 0)); then
  prefix+="-${BASH_REMATCH[1]}"
fi
if [[ ${QUENDA_WINE_READY:-} != "$prefix" ]]; then
  source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh"
fi
# In a long run Wine has been seen to end a program at once, before it printed a word; a run that
# failed and printed nothing is tried once more (a test program always prints as it starts).
out=$(mktemp "${TMPDIR:-/tmp}/wine-run.XXXXXX")
trap 'rm -f "$out"' EXIT
for try in 1 2; do
  wine "$@" | tee "$out" && status=0 || status=${PIPESTATUS[0]}
  if ((status == 0 || try == 2)) || [[ -s $out ]]; then exit "$status"; fi
  echo "wine-run.sh: $1 ended with status $status before printing anything; once more" >&2
done
