#!/usr/bin/env bash
# While one Quenda runs, a second start ends at once with exit code 0, shows no window and
# leaves the running one and its table alone; once the first has ended, a start works again.
source "$(dirname "$0")/lib.sh" "$@"

table=$work/Quenda.Tbl
bash "$e2e_dir/make_table.sh" "$table" filled
touch -d '2001-02-03 04:05:06' "$table"
before=$(stat -c %y "$table")
start_quenda
expect_main_window "first instance"
first=$pid

# In the same folder, and in one without a table, where a running second copy would at least
# show the error box.
mkdir "$work/other"
wother=$(winpath "$work/other") || exit 1
for dir in "$wwork" "$wother"; do
  out=$(drv run "$wquenda" "$dir" "$wait_ms") || fail "a second start in $dir did not end: $out"
  expect_eq "$out" "exited 0 windows 0" "second start in $dir"
done
expect_eq "$(drv state "$first")" "running main=1 dialogs=0" \
  "first instance after the second starts"
expect_eq "$(stat -c %y "$table")" "$before" "table modification time after the second starts"
[[ ! -e $work/other/Quenda.Tbl ]] || fail "the second start wrote a table"

close_expect wm-close "exited 0"
start_quenda
expect_main_window "a start after the first instance ended"
close_expect wm-close "exited 0"
echo "PASS: single instance"
