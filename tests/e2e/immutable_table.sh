#!/usr/bin/env bash
# A table file that cannot be replaced (immutable: root ignores mode 0444), then a folder
# where nothing can be created: each close shows "を作成できません" with the table's full
# path, then asks whether to close without saving. No keeps the window open and the old file
# byte for byte; once writable again, closing saves. Yes closes and leaves every file as it was.
source "$(dirname "$0")/lib.sh" "$@"

table=$work/Quenda.Tbl
bash "$e2e_dir/make_table.sh" "$work/filled.ref" filled
cp "$work/filled.ref" "$table"
touch -d '2001-02-03 04:05:06' "$table"
before=$(stat -c %y "$table")
cannot_create="ファイル $wwork\\Quenda.Tbl を作成できません."
close_unsaved="保存せずに終了しますか？"

start_quenda
expect_main_window "start"

# Each close attempt must fail the same way and change nothing.
refused() {
  close_expect "$1" dialog
  expect_error_box "$cannot_create"
  press_ok
  expect_question "$close_unsaved"
  answer_no
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

# Yes to closing without saving: Quenda ends, the folder holds just what it held.
touch -d '2001-02-03 04:05:06' "$table"
ls -A "$work" >"$work.before"
start_quenda
expect_main_window "start again"
chattr +i "$table"
close_expect exit dialog
expect_error_box "$cannot_create"
press_ok
expect_question "$close_unsaved"
expect_exit_after "Yes to closing without saving" drv press "$pid" 6 "$wait_ms"
chattr -i "$table"
cmp "$table" "$work/filled.ref" >&2 || fail "the table changed on closing without saving"
expect_eq "$(stat -c %y "$table")" "$before" "table modification time after Yes"
ls -A "$work" | diff "$work.before" - >&2 || fail "closing without saving left files behind"
echo "PASS: immutable table"
