#!/usr/bin/env bash
# A file whose Windows path is far longer than a slot's 128-byte Target and holds characters
# CP932 lacks (한글, é, an emoji), dropped from an X client on a program slot: a click runs it,
# before and after a restart. The table stays 478,800 bytes with the CP932 cut in its field;
# the whole path lives in Quenda.Tbl.utf8.
source "$(dirname "$0")/lib.sh" "$@"

table=$work/Quenda.Tbl
python3 "$e2e_dir/make_sample_table.py" "$table"

dir="$work/é$(printf '長い名前のフォルダー%.0s' 1 2 3 4 5 6)"
name="한글の$(printf 'とても長いファイル名%.0s' 1 2 3 4)😀.bat"
mkdir -p "$dir"
marker=$work/marker.txt
printf '@echo off\r\necho ran> "%s\\marker.txt"\r\n' "$wwork" >"$dir/$name"
wpath="$wwork\\$(basename "$dir")\\$name"
bytes=$(printf '%s' "$wpath" | python3 -c 'import sys; print(len(sys.stdin.read().encode("cp932", "replace")))')
((bytes > 200)) || fail "the test path is only $bytes bytes"

# Clicks slot 1 of P1 and waits for the batch file behind it to leave its marker.
expect_run() {
  rm -f "$marker"
  drv click "$pid" 219 "$wait_ms" || fail "could not click slot 1 of P1 ($1)"
  for ((i = 0; i < 200; i++)); do [[ -f $marker ]] && break; sleep 0.1; done
  [[ -f $marker ]] || fail "the dropped file did not run ($1)"
}

start_quenda
expect_main_window "with a prepared table"
drv click "$pid" 205 "$wait_ms" || fail "could not press P1"
xid=$(drv xwindow "$pid" TMainForm "$wait_ms") || fail "no X window for the main window"
point=$(drv centre "$pid" 219 "$wait_ms") || fail "no place for slot 1"
timeout "$call_guard" python3 "$e2e_dir/xdnd_drop.py" "$xid" $point "$dir/$name" >>"$log" 2>&1 ||
  fail "the drop was not taken"
out=$(drv dialog "$pid" "$wait_ms") || fail "no question before the slot is replaced"
expect_eq "$(field text "$out")" "内容を置き換えますか？" "question on a drop"
drv press "$pid" 6 "$wait_ms" || fail "could not answer はい"  # IDYES
expect_run "after the drop"
close_expect wm-close "exited 0"

expect_eq "$(size_of "$table")" 478800 "table size"
# Record 201 (page 8, slot 1): Target at offset 68, 128 bytes, the path's CP932 cut on a whole
# character (the system's conversion writes é as its nearest "e").
field_bytes=$(dd if="$table" bs=1 skip=$((201 * 1368 + 68)) count=128 status=none | od -An -tx1 | tr -d ' \n')
cut=$(printf '%s' "$wpath" | python3 -c 'import sys
cut = sys.stdin.read().replace("é", "e").encode("cp932", "replace")[:128]
if len(cut.decode("cp932", "ignore").encode("cp932")) < len(cut): cut = cut[:-1]
print(cut.ljust(128, b"\0").hex())')
expect_eq "$field_bytes" "$cut" "the Target field holds the cut path"
grep -qF "$(printf '201\tTarget\t')" "$table.utf8" || fail "no whole text kept for slot 1 of P1"
grep -qF "$wpath" <(sed 's/\\\\/\\/g' "$table.utf8") || fail "the whole path is not in $table.utf8"

start_quenda
expect_main_window "after the restart"
drv click "$pid" 205 "$wait_ms" || fail "could not press P1 after the restart"
expect_run "after the restart"
close_expect wm-close "exited 0"
echo "PASS: long_drop"
