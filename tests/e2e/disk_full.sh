#!/usr/bin/env bash
# A save that fails halfway: on a 700 KiB tmpfs holding a table, the new copy cannot be
# written whole. The close shows "ストリームへの書き込みエラー." and asks whether to close
# without saving; on No the window stays, the old table keeps its bytes and no temporary file
# remains; with room again, closing saves.
source "$(dirname "$0")/lib.sh" "$@"

disk=$work/disk
mkdir "$disk"
mount -t tmpfs -o size=700k quenda-e2e "$disk" || fail "cannot mount a tmpfs (root needed)"
undo_steps+=("umount '$disk'")
table=$disk/Quenda.Tbl
bash "$e2e_dir/make_table.sh" "$work/filled.ref" filled
cp "$work/filled.ref" "$table"
free=$(df -B1 --output=avail "$disk" | tail -1)
((free < 478800)) || fail "the tmpfs has room ($free bytes) for a second table; nothing would fail"

start_quenda "$disk"
expect_main_window "start on the small disk"
close_expect wm-close dialog
expect_error_box "ストリームへの書き込みエラー."
press_ok
expect_question "保存せずに終了しますか？"
answer_no
cmp "$table" "$work/filled.ref" >&2 || fail "the failed save changed the table"
[[ ! -e $table.tmp ]] || fail "the failed save left $table.tmp"
expect_eq "$(df -B1 --output=avail "$disk" | tail -1)" "$free" "free space after the failed save"

mount -o remount,size=2m "$disk" || fail "cannot grow the tmpfs"
close_expect wm-close "exited 0"
cmp "$table" "$work/filled.ref" >&2 ||
  fail "the table saved with room again differs from the one loaded"
echo "PASS: disk full"
