#!/usr/bin/env bash
# A stand-in browser runs; on the address page D1 the user right-clicks a slot and chooses
# "URL取得" from its popup menu with the keyboard, then closes: the saved table holds the
# captured address, the title, its short name, "1", "0" and a date. Then the same with a
# stand-in of today's browsers, whose address comes from its accessibility tree, and with Wine's
# own browser showing a local page.
source "$(dirname "$0")/lib.sh" "$@"

table=$work/Quenda.Tbl
bash "$e2e_dir/make_table.sh" "$table" blank
# Wine's Internet Explorer on a local page, behind every other browser; its caption is its name
# alone, as it knows no title. Started first, so that Quenda's window comes to the front.
page="地図 page.htm"
printf '<html><head><title>Map</title></head><body>map</body></html>' >"$work/$page"
timeout "$call_guard" wine "$driver_exe" start 'C:\Program Files\Internet Explorer\iexplore.exe' \
  "$wwork" "$wwork\\$page" </dev/null >"$work.browser" 2>>"$log" {drv_to}>&- {drv_from}<&- ||
  fail "iexplore.exe did not start"
explorer=$(<"$work.browser")
started_pids+=("$explorer")
expect_eq "$(field caption "$(drv window "$explorer" IEFrame 50000)")" "Wine Internet Explorer" \
  "the caption of Wine's browser"
start_quenda
expect_main_window "with a blank table"

slot=6
start_browser combo
capture_into 224
wait_for_address
expect_eq "$(read_field 68 128)" "http://example.com/" "captured address (Target)"
expect_eq "$(drv texts "$pid" 224 224 "$wait_ms")" $'224\tExample' "slot 6's caption"

# Only a current browser runs now: slot 7 takes its page, in CP932.
wine "$driver_exe" kill "$browser" </dev/null >>"$log" 2>&1
start_browser chrome-ja
slot=7
capture_into 225
wait_for_address
expect_eq "$(read_field 68 128 | iconv -f CP932 -t UTF-8)" "https://example.jp/日本/m%C3%BCnchen?q=1" \
  "slot 7's address (from the accessibility tree)"
expect_eq "$(read_field 196 128 | iconv -f CP932 -t UTF-8)" "日本語のページ・案内" \
  "slot 7's DisplayName"
expect_eq "$(read_field 4 64 | iconv -f CP932 -t UTF-8)" "日本語のペ" "slot 7's Title"

# Only Wine's browser runs now.
wine "$driver_exe" kill "$browser" </dev/null >>"$log" 2>&1
slot=8
# Its address field is filled once the page is asked for, which may come after its window.
for try in 1 2 3; do
  capture_into 226
  wait_for_address && break
done
address="file://$wwork\\$page"
expect_eq "$(read_field 68 128 | iconv -f CP932 -t UTF-8)" "$address" "slot 8's address (Wine's browser)"
expect_eq "$(read_field 196 128 | iconv -f CP932 -t UTF-8)" "$address" "slot 8's DisplayName"
expect_eq "$(read_field 4 64 | iconv -f CP932 -t UTF-8)" "地図 page" "slot 8's Title"
expect_eq "$(drv texts "$pid" 226 226 "$wait_ms")" $'226\t地図 page' "slot 8's caption"

slot=6
close_expect wm-close "exited 0"
expect_eq "$(read_field 2 2)" "1" "Flag1"
expect_eq "$(read_field 4 64)" "Example" "Title (the short name)"
expect_eq "$(read_field 196 128)" "Example Domain" "DisplayName (the page title)"
expect_eq "$(read_field 452 10)" "0" "AccessCount"
[[ $(read_field 462 20) =~ ^[0-9]{4}/[0-9]{1,2}/[0-9]{1,2}( [0-9]{1,2}:[0-9]{2}:[0-9]{2})?$ ]] ||
  fail "LastAccess is no date: '$(read_field 462 20)'"
echo "PASS: url capture"
