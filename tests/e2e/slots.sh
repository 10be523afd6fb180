#!/usr/bin/env bash
# A prepared table: the slot buttons read as the titles' first 12 bytes, the page buttons switch
# pages, slot 1 dragged onto slot 7 with the real pointer swaps them, a slot cleared in its
# editor comes back with Ctrl+Z, a click on a program slot really runs its target (a batch file that leaves a marker)
# though its count is empty, a click on a slot whose program is missing says so and counts
# nothing, and the table saved at close holds the new counts.
source "$(dirname "$0")/lib.sh" "$@"

table=$work/Quenda.Tbl
marker=$work/marker.txt
printf '@echo off\r\necho ran> "%%~dp0marker.txt"\r\n' >"$work/run me.bat"
python3 "$e2e_dir/make_sample_table.py" "$table" "$wwork\\run me.bat"

start_quenda
expect_main_window "with a prepared table"

# Slot buttons are controls 218..242; the address page D1 shows titles.
texts=$(drv texts "$pid" 218 242 "$wait_ms") || fail "could not read the slot buttons"
expect_eq "$(sed -n 1p <<<"$texts")" $'218\tニュース速報' "slot 0 of D1"
expect_eq "$(sed -n 3p <<<"$texts")" $'220\t地図と乗換案' "slot 2 of D1 (12 bytes of a longer title)"
expect_eq "$(sed -n 9p <<<"$texts")" $'226\tQuenda ホー' "slot 8 of D1 (12 bytes would end inside a character)"
expect_eq "$(sed -n 25p <<<"$texts")" $'242\t' "slot 24 of D1 (empty)"

# Slot 1 dragged onto slot 7 with the pointer; slot 2 cleared in its editor, then Ctrl+Z.
xid=$(drv xwindow "$pid" TMainForm "$wait_ms") || fail "no X window for the main window"
xdotool windowfocus --sync "$xid" || fail "xdotool could not focus window $xid"
centre=$(drv centre "$pid" 219 "$wait_ms") && read -r x y <<<"$centre"
centre=$(drv centre "$pid" 225 "$wait_ms") && read -r x7 y7 <<<"$centre"
xdotool mousemove --sync "$x" "$y" mousedown 1 mousemove --sync "$x7" "$y7" sleep 0.5 mouseup 1 \
  mousemove 0 0 || fail "xdotool could not drag slot 1"
drv rclick "$pid" 220 "$wait_ms" && drv window "$pid" '#32768' "$wait_ms" >/dev/null || fail "no popup"
xdotool key --clearmodifiers --delay 200 Up Return || fail "xdotool could not choose 内容の編集"
drv wclick "$pid" TKeyIn_URL 120 "$wait_ms" || fail "could not press クリヤー"  # url_ids::ClearButton
expect_question "項目をクリヤーしますか？"
drv press "$pid" 6 "$wait_ms" && drv wclick "$pid" TKeyIn_URL 122 "$wait_ms" || fail "could not close the editor"
drv foreground "$pid" TMainForm "$wait_ms" || fail "the main window did not come back"
expect_eq "$(drv texts "$pid" 219 220 "$wait_ms")" $'219\t技術ブログ\n220\t' "slots 1 and 2 of D1"
xdotool key --clearmodifiers ctrl+z || fail "xdotool could not press Ctrl+Z"

# P1 (page button 205) shows icons: no caption on any slot.
drv click "$pid" 205 "$wait_ms" || fail "could not press P1"
texts=$(drv texts "$pid" 218 242 "$wait_ms")
expect_eq "$(cut -f2 <<<"$texts" | tr -d '\n')" "" "captions on the icon page P1"
# Back to D2 (page button 202): an empty page.
drv click "$pid" 202 "$wait_ms" || fail "could not press D2"
expect_eq "$(drv texts "$pid" 218 218 "$wait_ms")" $'218\t' "slot 0 of D2"

drv click "$pid" 205 "$wait_ms" || fail "could not press P1 again"
drv click "$pid" 218 "$wait_ms" || fail "could not click slot 0 of P1"
for ((i = 0; i < 200; i++)); do [[ -f $marker ]] && break; sleep 0.1; done
[[ -f $marker ]] || fail "the batch file behind slot 0 of P1 did not run"

# Slot 1 of P1 names a program that is not there: one error box with the system's reason.
drv click "$pid" 219 "$wait_ms" || fail "could not click slot 1 of P1"
out=$(drv dialog "$pid" "$wait_ms") || fail "no message box for the missing program"
expect_eq "$(sed -n '/^text=/,/^icon=/p' <<<"$out" | sed '$d; s/^text=//')" \
  $'C:\\Tools\\prog1.exe を開けません。\nパスが見つかりません。' "text of the box for the missing program"
expect_eq "$(field caption "$out")" "Quenda" "caption of the box for the missing program"
expect_eq "$(field icon "$out")" "error" "icon of the box for the missing program"
press_ok

close_expect wm-close "exited 0"
# Record 200 + n (page 8, slot n): AccessCount at offset 452, 10 bytes; LastAccess at 462, 20.
record_field() { dd if="$table" bs=1 skip=$(((200 + $1) * 1368 + $2)) count="$3" status=none | tr -d '\0'; }
expect_eq "$(record_field 0 452 10)" "1" "access count of slot 0 saved at close (it was empty)"
expect_eq "$(record_field 1 452 10)" "1" "access count of the missing program (unchanged)"
expect_eq "$(record_field 1 462 20)" "2026/12/07 18:00:00" "last access of the missing program (unchanged)"

# Record 7's icon no longer starts "BM": Quenda names the slot, and the slots after it are read.
mkdir "$work/damaged"
cp "$table" "$work/damaged/Quenda.Tbl"
printf 'XX' | dd of="$work/damaged/Quenda.Tbl" bs=1 seek=$((7 * 1368 + 738)) conv=notrunc status=none
start_quenda "$work/damaged"
expect_error_box "D1 の 8番目 の項目は壊れていたため、読めた部分だけを残しました."
press_ok
texts=$(drv texts "$pid" 218 226 "$wait_ms") || fail "could not read the slot buttons"
expect_eq "$(sed -n '2,3p' <<<"$texts")" $'219\t技術ブログ\n220\t地図と乗換案' \
  "after the restart: slot 1 of D1 swapped, slot 2 back"
expect_eq "$(sed -n '8,9p' <<<"$texts")" $'225\t天気予報\n226\tQuenda ホー' "slots 7 and 8 of D1 beside the damaged icon"
close_expect wm-close "exited 0"
[[ -f $work/damaged/Quenda.Tbl.damaged ]] || fail "the damaged table was not kept aside"
echo "PASS: slots"
