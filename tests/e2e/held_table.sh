#!/usr/bin/env bash
# A table file another program holds open without sharing, as a backup, sync or virus scanner
# may. Held for a moment at start: Quenda waits and loads it. Held for longer: "は開けません",
# and a close without changes leaves the file as it is and makes no copy of it. So does a
# folder in the table's place.
source "$(dirname "$0")/lib.sh" "$@"

table=$work/Quenda.Tbl
wtable="$wwork\\Quenda.Tbl"
bash "$e2e_dir/make_table.sh" "$work/filled.ref" filled

# Holds the table for $1 ms in the background; returns once it is held.
hold_table() {
  drv hold "$wtable" "$1" >"$work.hold" &
  holder=$!
  local give_up=$((SECONDS + wait_ms / 1000))
  until grep -qx held "$work.hold"; do
    ((SECONDS < give_up)) && kill -0 "$holder" 2>/dev/null ||
      fail "the driver could not hold the table: $(<"$work.hold")"
    sleep 0.01
  done
}

# Held briefly: no message, the table's entries are there, and closing rewrites it unchanged.
cp "$work/filled.ref" "$table"
hold_table 1500
start_quenda
expect_main_window "held briefly"
expect_eq "$(drv state "$pid")" "running main=1 dialogs=0" "start on a briefly held table"
wait "$holder"
expect_eq "$(tail -n 1 "$work.hold")" released "the holder's end"
close_expect wm-close "exited 0"
cmp "$table" "$work/filled.ref" >&2 || fail "the briefly held table did not load and save whole"
echo "ok: a briefly held table loads"

# Held throughout the start: the error, then a close without changes touches nothing.
touch -d '2001-02-03 04:05:06' "$table"
before=$(stat -c %y "$table")
ls -A "$work" >"$work.before"
hold_table 8000
start_quenda
expect_error_box "ファイル $wtable は開けません."
press_ok
expect_main_window "held at start"
wait "$holder"
close_expect wm-close "exited 0"
cmp "$table" "$work/filled.ref" >&2 || fail "the held table changed"
expect_eq "$(stat -c %y "$table")" "$before" "modification time of the held table"
ls -A "$work" | diff "$work.before" - >&2 || fail "closing after a held start left files behind"
echo "ok: a table held throughout the start is left alone"

rm "$table"
mkdir "$table"
ls -A "$work" >"$work.before"
start_quenda
expect_error_box "ファイル $wtable は開けません."
press_ok
expect_main_window "a folder in the table's place"
close_expect wm-close "exited 0"
[[ -d $table ]] || fail "the folder in the table's place was replaced"
ls -A "$work" | diff "$work.before" - >&2 || fail "closing with a folder for a table left files"
echo "PASS: held table"
