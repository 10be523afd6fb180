#!/usr/bin/env bash
# On the program page P1, "内容の編集" from a slot's popup menu opens the program entry editor;
# "ｷｬﾝｾﾙ" closes it, and the table is saved all the same.
source "$(dirname "$0")/lib.sh" "$@"

table=$work/Quenda.Tbl
python3 "$e2e_dir/make_sample_table.py" "$table"
cp "$table" "$work/before"
touch -d '2000-01-01' "$table"
start_quenda
expect_main_window "with a prepared table"
drv click "$pid" 205 "$wait_ms" || fail "could not press P1"
first_popup_item 219  # 内容の編集
out=$(drv window "$pid" TPrgForm "$wait_ms") || fail "the program entry editor did not open"
expect_eq "$(field caption "$out")" "プログラムランチ　登録／編集" "editor caption"
expect_eq "$(field client "$out")" "595x314" "editor client size"
expect_eq "$(drv state "$pid")" "running main=1 dialogs=0" "the main window stays while the editor is up"
drv wclick "$pid" TPrgForm 120 "$wait_ms" || fail "could not press ｷｬﾝｾﾙ"  # prg_ids::CancelButton
for ((i = 0; i < 100; i++)); do
  [[ $(stat -c %Y "$table") -gt 946684800 ]] && break
  sleep 0.1
done
[[ $(stat -c %Y "$table") -gt 946684800 ]] || fail "the table was not saved after the editor closed"
cmp "$table" "$work/before" >&2 || fail "a cancelled editor changed the table"
close_expect wm-close "exited 0"
echo "PASS: editor"
