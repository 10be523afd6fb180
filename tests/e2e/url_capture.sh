#!/usr/bin/env bash
# A stand-in browser runs; on the address page D1 the user right-clicks a slot and chooses
# "URL取得" from its popup menu with the keyboard, then closes: the saved table holds the
# captured address, the title, its short name, "1", "0" and a date.
source "$(dirname "$0")/lib.sh" "$@"

table=$work/Quenda.Tbl
bash "$e2e_dir/make_table.sh" "$table" blank
start_quenda
expect_main_window "with a blank table"

# Not through drv: the browser it starts must outlive the driver, and timeout's process group
# would take it along.
wine "$driver_exe" browser "$(winpath "$build/tests/fake_browser.exe")" combo 0 "$wait_ms" \
  </dev/null >"$work.browser" 2>>"$log" || fail "the stand-in browser did not start"
browser=$(<"$work.browser")
started_pids+=("$browser")

xid=$(drv xwindow "$pid" TMainForm "$wait_ms") || fail "no X window for the main window"
xdotool windowfocus --sync "$xid" || fail "xdotool could not focus window $xid"
drv foreground "$pid" TMainForm "$wait_ms" || fail "the main window did not come to the front"
drv rclick "$pid" 224 "$wait_ms" || fail "could not right-click slot 6"
# The menu opens in Quenda's own loop; keys choose from it once it shows.
drv window "$pid" '#32768' "$wait_ms" >/dev/null || fail "no popup menu appeared"
xdotool key --clearmodifiers --delay 200 Down Return || fail "xdotool could not choose from the menu"


# The capture saves the table at once; its bytes tell when it happened.
record=$((6 * 1368))
read_field() { dd if="$table" bs=1 skip=$((record + $1)) count="$2" status=none | tr -d '\0'; }
for ((i = 0; i < 100; i++)); do
  [[ $(read_field 68 128) == http* ]] && break
  sleep 0.1
done
expect_eq "$(read_field 68 128)" "http://example.com/" "captured address (Target)"
expect_eq "$(drv texts "$pid" 224 224 "$wait_ms")" $'224\tExample' "slot 6's caption"
close_expect wm-close "exited 0"
expect_eq "$(read_field 2 2)" "1" "Flag1"
expect_eq "$(read_field 4 64)" "Example" "Title (the short name)"
expect_eq "$(read_field 196 128)" "Example Domain" "DisplayName (the page title)"
expect_eq "$(read_field 452 10)" "0" "AccessCount"
[[ $(read_field 462 20) =~ ^[0-9]{4}/[0-9]{1,2}/[0-9]{1,2}( [0-9]{1,2}:[0-9]{2}:[0-9]{2})?$ ]] ||
  fail "LastAccess is no date: '$(read_field 462 20)'"
echo "PASS: url capture"
