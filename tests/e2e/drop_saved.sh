#!/usr/bin/env bash
# A file dropped from outside (an X client's XDND drop) on a program page's slot and answered
# Yes is in the table file at once: Quenda killed right after it does not lose the entry.
source "$(dirname "$0")/lib.sh" "$@"

table=$work/Quenda.Tbl
bash "$e2e_dir/make_table.sh" "$table" blank
cp "$quenda_exe" "$work/Editor.exe"

start_quenda
expect_main_window "start"
drv click "$pid" 205 "$wait_ms" || fail "could not press P1"
xid=$(drv xwindow "$pid" TMainForm "$wait_ms") || fail "no X window for the main window"
centre=$(drv centre "$pid" 225 "$wait_ms") || fail "no place for slot 7"
read -r x y <<<"$centre"
out=$(timeout "$call_guard" python3 "$e2e_dir/xdnd_drop.py" "$xid" "$x" "$y" "$work/Editor.exe") ||
  fail "the drop on slot 7 did not go through: '$out'"
expect_question "内容を置き換えますか？"
drv press "$pid" 6 "$wait_ms" || fail "could not answer Yes"
expect_eq "$(drv state "$pid")" "running main=1 dialogs=0" "after Yes to the drop"

drv kill "$pid"
# Slot 7 of P1 (page 8) is record 207: Title at offset 4, Target at 68.
field_at() { tail -c +$((207 * 1368 + $1 + 1)) "$table" | head -c "$2" | tr '\0' '\n' | head -n 1; }
expect_eq "$(tail -c +478801 "$table" | head -c 12)" "Quenda block" "the entry's stamp behind the 350 records"
expect_eq "$(field_at 4 64)" "Editor.exe" "Title of the dropped entry in the file"
expect_eq "$(field_at 68 128)" "$wwork\\Editor.exe" "Target of the dropped entry in the file"
echo "PASS: drop saved"
