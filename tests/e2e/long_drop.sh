#!/usr/bin/env bash
# A file whose Windows path is far longer than a slot's 128-byte Target and holds characters
# CP932 lacks (한글, é, an emoji), dropped from an X client on a program slot: a click runs it,
# before and after a restart, and its name shows whole in the info line. The 350 records keep
# the CP932 cut in the field; the whole path lives in Quenda's block behind them, so the table
# file alone, copied to another folder, still opens it. A table of the earlier version with its
# whole texts in Quenda.Tbl.utf8 opens the whole path too, and after a save needs that file no
# more.
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

# Record 201 (page 8, slot 1): Target at offset 68, 128 bytes, the path's CP932 cut as ever
# (the system's conversion writes é as its nearest "e").
field_bytes=$(dd if="$table" bs=1 skip=$((201 * 1368 + 68)) count=128 status=none | od -An -tx1 | tr -d ' \n')
cut=$(printf '%s' "$wpath" | python3 -c 'import sys
cut = sys.stdin.read().replace("é", "e").encode("cp932", "replace")[:128]
if len(cut.decode("cp932", "ignore").encode("cp932")) < len(cut): cut = cut[:-1]
print(cut.ljust(128, b"\0").hex())')
expect_eq "$field_bytes" "$cut" "the Target field holds the cut path"
expect_eq "$(tail -c +478801 "$table" | head -c 12)" "Quenda block" "Quenda's block behind the records"
grep -qaF "$wpath" "$table" || fail "the whole path is not in the table file"
[[ ! -e $table.utf8 ]] || fail "a file beside the table was written"

start_quenda
expect_main_window "after the restart"
drv click "$pid" 205 "$wait_ms" || fail "could not press P1 after the restart"
expect_run "after the restart"
centre=$(drv centre "$pid" 219 "$wait_ms") || fail "no place for slot 1"
read -r x y <<<"$centre"
xid=$(drv xwindow "$pid" TMainForm "$wait_ms") || fail "no X window for the main window"
xdotool mousemove --window "$xid" "$x" "$y" || fail "xdotool could not move the mouse"
give_up=$((SECONDS + wait_ms / 1000))
while ((SECONDS < give_up)); do
  info=$(drv texts "$pid" 110 110 "$wait_ms" | cut -f2)
  [[ $info == "$name" ]] && break
  sleep 0.1
done
expect_eq "$info" "$name" "the dropped file's name in the info line"
close_expect wm-close "exited 0"

# The table file alone, in a folder of its own.
mkdir "$work/copied"
cp "$table" "$work/copied/Quenda.Tbl"
start_quenda "$work/copied"
expect_main_window "in the folder the table was copied to"
drv click "$pid" 205 "$wait_ms" || fail "could not press P1 in the copied folder"
expect_run "from the copied table"
close_expect wm-close "exited 0"

# The earlier version: the 350 records alone, the whole path in Quenda.Tbl.utf8 beside them.
mkdir "$work/earlier"
head -c 478800 "$table" >"$work/earlier/Quenda.Tbl"
python3 - "$wpath" "$work/earlier/Quenda.Tbl.utf8" <<'PY'
import sys
path, out = sys.argv[1], sys.argv[2]
cut = path.replace("é", "e").encode("cp932", "replace")[:128]
if len(cut.decode("cp932", "ignore").encode("cp932")) < len(cut): cut = cut[:-1]
text = path.replace("\\", "\\\\")
open(out, "wb").write(b"Quenda.Tbl whole texts 1\n201\tTarget\t" + cut.hex().encode() + b"\t" + text.encode() + b"\n")
PY
for round in "with the earlier file" "after the save"; do
  start_quenda "$work/earlier"
  expect_main_window "earlier table, $round"
  drv click "$pid" 205 "$wait_ms" || fail "could not press P1 ($round)"
  expect_run "earlier table, $round"
  close_expect wm-close "exited 0"
  [[ ! -e $work/earlier/Quenda.Tbl.utf8 ]] || fail "Quenda.Tbl.utf8 is still there $round"
done
echo "PASS: long_drop"
