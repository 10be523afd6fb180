#!/usr/bin/env bash
# Quenda.exe run from a folder where someone planted an oleacc.dll (which leaves a marker file
# when loaded), with Wine told to look beside the program first, as Windows does for a DLL that
# is not a KnownDLL: Quenda starts, shows its table, captures from a stand-in of today's
# browsers (oleacc.dll loaded only then, from the system folder), and the planted DLL never
# runs. The folder is the program's and the current one alike.
source "$(dirname "$0")/lib.sh" "$@"

cp "$quenda_exe" "$work/Quenda.exe"
cp "$build/tests/e2e/planted/oleacc.dll" "$work/oleacc.dll"
wquenda=$(winpath "$work/Quenda.exe") || exit 1
marker=$work/planted-dll-ran
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;oleacc=n,b"
# Wine names each DLL it loads, after the id of the process (in hex) that loads it.
export WINEDEBUG=+pid,+loaddll

table=$work/Quenda.Tbl
python3 "$e2e_dir/make_sample_table.py" "$table" 'C:\windows\notepad.exe'

start_quenda
expect_main_window "beside a planted oleacc.dll"
expect_eq "$(drv texts "$pid" 218 218 "$wait_ms")" $'218\tニュース速報' "slot 0 of D1"
[[ ! -e $marker ]] || fail "the planted oleacc.dll ran when Quenda started"
quenda_loads() { grep -i "^$(printf %04x "$pid"):.*loaddll.*$1" "$log"; }
! quenda_loads oleacc || fail "oleacc.dll was loaded at start-up"

start_browser chrome-ja
slot=24
capture_into 242
wait_for_address || true
[[ ! -e $marker ]] || fail "the planted oleacc.dll ran at the capture"
expect_eq "$(read_field 68 128 | iconv -f CP932 -t UTF-8)" "https://example.jp/日本/m%C3%BCnchen?q=1" \
  "slot 24's address (from the accessibility tree)"
expect_eq "$(quenda_loads oleacc | sed 's/.*Loaded L"\(.*\)" at .*: /\1 /')" \
  'C:\\windows\\system32\\oleacc.dll builtin' "the oleacc.dll Quenda loaded at the capture"
close_expect wm-close "exited 0"
[[ ! -e $marker ]] || fail "the planted oleacc.dll ran"
echo "PASS: dll plant"
