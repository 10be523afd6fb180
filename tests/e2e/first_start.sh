#!/usr/bin/env bash
# First start in a folder without a table: the error box names the table file by its full path
# and comes before the main window; closing then writes a whole blank table.
source "$(dirname "$0")/lib.sh" "$@"

table=$work/Quenda.Tbl
start_quenda
expect_error_box "ファイル $wwork\\Quenda.Tbl は開けません."
expect_eq "$(drv state "$pid")" "running main=0 dialogs=1" "windows shown while the error box is up"
press_ok
expect_main_window "after the error box"
[[ ! -e $table ]] || fail "a table file appeared before any close"

close_expect wm-close "exited 0"
[[ -f $table ]] || fail "closing wrote no $table"
expect_eq "$(size_of "$table")" 478800 "size of the saved table"
bash "$e2e_dir/make_table.sh" "$work/blank.ref" blank
cmp "$table" "$work/blank.ref" >&2 || fail "the saved table is not 350 empty slots with black icons"
[[ ! -e $table.tmp ]] || fail "the temporary file was left behind"
echo "PASS: first start"
