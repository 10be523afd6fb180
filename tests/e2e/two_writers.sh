#!/usr/bin/env bash
# Two writers on one folder, as two PCs sharing a synced folder: while Quenda runs, another PC's
# Quenda (table_peer, Quenda's own table code under another computer name) renames a slot,
# opens a program slot, and edits the slot Quenda is editing. Quenda shows the other side's
# edit without a click, the counts of both sides add up, Quenda's edit of the shared slot wins,
# and the other side's file is kept beside the table as a conflict copy named in the info line.
source "$(dirname "$0")/lib.sh" "$@"

table=$work/Quenda.Tbl
marker=$work/marker.txt
printf '@echo off\r\necho ran> "%%~dp0marker.txt"\r\n' >"$work/run me.bat"
python3 "$e2e_dir/make_sample_table.py" "$table" "$wwork\\run me.bat"
peer_exe=$build/tests/e2e/table_peer.exe
peer() {
  timeout "$call_guard" wine "$peer_exe" "$wwork" LAPTOP "$@" </dev/null >>"$log" 2>&1 ||
    fail "the other writer could not save: $*"
}
# until_text ID TEXT WHAT: waits for a main-window control to show a text (or one starting so).
until_text() {
  local got give_up=$((SECONDS + call_guard))
  while ((SECONDS < give_up)); do
    got=$(drv texts "$pid" "$1" "$1" "$wait_ms" | cut -f2)
    [[ $got == "$2"* ]] && return 0
    sleep 0.2
  done
  fail "$3: expected '$2', got '$got'"
}
# The first 478,800 bytes' field of a record: offset and width as in the file layout.
field_of() { dd if="$1" bs=1 skip=$(($2 * 1368 + $3)) count="$4" status=none | tr '\0' '\n' | head -n 1; }

start_quenda
expect_main_window "with a prepared table"
# While Quenda sits idle, the other PC renames D1's slot 2 and opens P1's slot 0 twice.
peer "title:0:2:LAPTOP-title" "open:8:0" "open:8:0"
until_text 220 "LAPTOP-title" "slot 2 of D1 after the other PC's edit"

# Quenda edits P1's slot 1 in the program editor while the other PC edits the same slot.
drv click "$pid" 205 "$wait_ms" || fail "could not press P1"
xdotool mousemove 0 0 || true  # no hover over the grid to overwrite the info line
first_popup_item 219  # 内容の編集
drv window "$pid" TPrgForm "$wait_ms" >/dev/null || fail "the program entry editor did not open"
drv wclick "$pid" TPrgForm 117 "$wait_ms" || fail "could not click into the memo"  # 備考
xdotool type --delay 50 mine || fail "xdotool could not type"
peer "memo:8:1:theirs"
drv wclick "$pid" TPrgForm 119 "$wait_ms" || fail "could not press 設　定"
until_text 110 "他の PC" "info line after the conflict"
info=$(drv texts "$pid" 110 110 "$wait_ms" | cut -f2)
copy=$(ls "$work" | grep '^Quenda\.Tbl\.conflict-LAPTOP-') || fail "no conflict copy beside the table"
[[ $info == *"$copy"* ]] || fail "the info line does not name the conflict copy: '$info'"
# Quenda opens P1's slot 0 (count 3 here, not yet written), then the other PC opens it once more.
drv click "$pid" 218 "$wait_ms" || fail "could not click slot 0 of P1"
for ((i = 0; i < 200; i++)); do [[ -f $marker ]] && break; sleep 0.1; done
[[ -f $marker ]] || fail "the batch file behind slot 0 of P1 did not run"
peer "open:8:0"

close_expect wm-close "exited 0"

expect_eq "$(field_of "$table" 2 4 64)" "LAPTOP-title" "the other PC's title"
expect_eq "$(field_of "$table" 200 452 10)" "4" "openings on both PCs"
expect_eq "$(field_of "$table" 201 482 256)" "mine" "Quenda's edit of the shared slot"
expect_eq "$(field_of "$work/$copy" 201 482 256)" "theirs" "the other PC's edit in the copy"
echo "PASS: two_writers"
