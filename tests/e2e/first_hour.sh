#!/usr/bin/env bash
# A new user's first hour: an address typed without a scheme opens as https and is counted, a
# count that is no number opens and counts from 0; a text file with a 70-byte Japanese name, a
# batch file, a folder and a shortcut dropped on P1 each keep an icon that is not one plain
# colour, after a restart too, and the long name's Title ends on a whole character.
source "$(dirname "$0")/lib.sh" "$@"

table=$work/Quenda.Tbl
bash "$e2e_dir/make_table.sh" "$table" blank
# Slot 1 of D1 (record 1): an address whose count is no number.
python3 - "$table" <<'PY'
import sys
with open(sys.argv[1], "r+b") as f:
    for offset, width, text in [(2, 2, "1"), (4, 64, "x1"), (68, 128, "https://example.com/x1"),
                                (452, 10, "x1")]:
        f.seek(1368 + offset)
        f.write(text.encode() + bytes(width - len(text)))
PY
# Wine's browser hands every address to this script instead.
printf '#!/bin/sh\necho "$1" >>"%s/opened.txt"\n' "$work" >"$work/browser.sh"
chmod +x "$work/browser.sh"
wine reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /d "$work/browser.sh" /f >>"$log" 2>&1 ||
  fail "could not set Wine's browser"
undo_steps+=("wine reg delete 'HKCU\\Software\\Wine\\WineBrowser' /v Browsers /f")

name="a$(printf '長%.0s' {1..32})x.txt"  # 70 bytes in CP932; byte 64 is a lead byte
printf 'text' >"$work/$name"
printf '@echo off\r\n' >"$work/run.bat"
mkdir "$work/folder"
printf 'Set l = CreateObject("WScript.Shell").CreateShortcut("%s\\run.lnk")\r\nl.TargetPath = "%s\\run.bat"\r\nl.Save\r\n' \
  "$wwork" "$wwork" >"$work/link.vbs"
timeout "$call_guard" wine cscript //nologo "$wwork\\link.vbs" </dev/null >>"$log" 2>&1 &&
  [[ -f $work/run.lnk ]] || fail "no shortcut was made"

opened() {  # ADDRESS WHAT: waits for the browser to be handed ADDRESS
  for ((i = 0; i < 200; i++)); do grep -qxF "$1" "$work/opened.txt" 2>/dev/null && return 0; sleep 0.1; done
  fail "$2: the browser was not handed $1"
}
record() { dd if="$table" bs=1 skip=$(($1 * 1368 + $2)) count="$3" status=none; }
icon_colours() { record "$1" $((738 + 118)) 512 | od -An -v -tx1 | tr -s ' ' '\n' | sed '/^$/d' | sort -u | wc -l; }

start_quenda
expect_main_window "with a blank table"
main_to_front

# Slot 0 of D1: "内容の編集", the address typed, 設　定, then a click opens it.
drv rclick "$pid" 218 "$wait_ms" || fail "could not right-click slot 0"
drv window "$pid" '#32768' "$wait_ms" >/dev/null || fail "no popup menu appeared"
xdotool key --clearmodifiers --delay 200 Up Return || fail "xdotool could not choose from the menu"
drv window "$pid" TKeyIn_URL "$wait_ms" >/dev/null || fail "the URL editor did not open"
drv wclick "$pid" TKeyIn_URL 102 "$wait_ms" || fail "could not click the address"  # url_ids::AddressEdit
drv keys text:example.com/typed || fail "could not type the address"
drv wclick "$pid" TKeyIn_URL 121 "$wait_ms" || fail "could not press 設　定"  # url_ids::SetButton
expect_eq "$(drv state "$pid")" "running main=1 dialogs=0" "after 設　定"
drv click "$pid" 218 "$wait_ms" || fail "could not click slot 0"
opened "https://example.com/typed" "the typed address"
drv click "$pid" 219 "$wait_ms" || fail "could not click slot 1"
opened "https://example.com/x1" "the slot counted x1"

# The drops, on slots 1 to 4 of P1 (records 201 to 204).
drv click "$pid" 205 "$wait_ms" || fail "could not press P1"
n=1
for file in "$work/$name" "$work/run.bat" "$work/folder" "$work/run.lnk"; do
  point=$(drv centre "$pid" $((218 + n)) "$wait_ms") || fail "no place for slot $n"
  timeout "$call_guard" python3 "$e2e_dir/xdnd_drop.py" "$xid" $point "$file" >>"$log" 2>&1 ||
    fail "the drop of $file was not taken"
  expect_question "内容を置き換えますか？"
  drv press "$pid" 6 "$wait_ms" || fail "could not answer はい"
  n=$((n + 1))
done
close_expect wm-close "exited 0"

expect_eq "$(record 0 68 128 | tr -d '\0')" "https://example.com/typed" "the typed address as stored"
expect_eq "$(record 0 452 10 | tr -d '\0')" "1" "the typed address's count"
expect_eq "$(record 1 452 10 | tr -d '\0')" "1" "the count that was x1"
title=$(record 201 4 64 | tr -d '\0' | iconv -f CP932 -t UTF-8) || fail "the Title ends inside a character"
expect_eq "$title" "a$(printf '長%.0s' {1..31})" "the long name's Title, cut to whole characters"
for r in 201 202 203 204; do
  (($(icon_colours $r) > 1)) || fail "the icon of record $r is one plain colour"
  record $r 738 630 >"$work/icon$r"
done

start_quenda
expect_main_window "after the restart"
close_expect wm-close "exited 0"
for r in 201 202 203 204; do
  record $r 738 630 | cmp -s - "$work/icon$r" || fail "the icon of record $r changed after the restart"
done
echo "PASS: first hour"
