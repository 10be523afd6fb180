#!/usr/bin/env bash
# A table file that cannot be replaced (immutable: root ignores mode 0444), then a folder
# where nothing can be created: each close shows "を作成できません" with the table's full
# path, keeps the window open and the old file byte for byte; once writable again, closing
# saves.
source "$(dirname "$0")/lib.sh" "$@"

table=$work/Quenda.Tbl
bash "$e2e_dir/make_table.sh" "$work/filled.ref" filled
cp "$work/filled.ref" "$table"
touch -d '2001-02-03 04:05:06' "$table"
before=$(stat -c %y "$table")
cannot_create="ファイル $wwork\\Quenda.Tbl を作成できません."

start_quenda
expect_main_window "start"

# Each close attempt must fail the same way and change nothing.
refused() {
  close_expect "$1" dialog
  expect_error_box "$cannot_create"
  press_ok
  expect_eq "$(drv state "$pid")" "running main=1 dialogs=0" "after OK on the error of $1 ($2)"
  cmp "$table" "$work/filled.ref" >&2 || fail "the table changed on a failed save ($1, $2)"
  expect_eq "$(stat -c %y "$table")" "$before" "table modification time ($1, $2)"
  [[ ! -e $table.tmp ]] || fail "the temporary file was left behind ($1, $2)"
}

chattr +i "$table" || fail "chattr +i is not supported here"
undo_steps+=("chattr -i '$table'")
refused wm-close "immutable file"
refused exit "immutable file"
chattr -i "$table"

chattr +i "$work" || fail "chattr +i on the folder failed"
undo_steps+=("chattr -i '$work'")
refused wm-close "immutable folder"
chattr -i "$work"

close_expect wm-close "exited 0"
[[ $(stat -c %y "$table") != "$before" ]] || fail "the table was not rewritten once writable"
cmp "$table" "$work/filled.ref" >&2 ||
  fail "the table saved once writable differs from the one loaded"
echo "PASS: immutable table"
