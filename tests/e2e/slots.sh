#!/usr/bin/env bash
# A prepared table: the slot buttons read as the titles' first 12 bytes, the page buttons switch
# pages, a click on a program slot really runs its target (a batch file that leaves a marker)
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
expect_eq "$(sed -n 9p <<<"$texts")" $'226\tQuenda ホー' "slot 8 of D1 (11 bytes: the character across the 12th is left out)"
expect_eq "$(sed -n 25p <<<"$texts")" $'242\t' "slot 24 of D1 (empty)"

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
echo "PASS: slots"
