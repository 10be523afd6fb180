#!/usr/bin/env bash
# Every way to close saves: the "終了" command, WM_CLOSE (close box), the system menu's
# close, and from the keyboard F10 ↓ Enter (ファイル → 終了) and Alt+F4. Without a table,
# the save writes a blank one; with one, load and save give the same bytes, behind-NUL
# junk included.
source "$(dirname "$0")/lib.sh" "$@"

table=$work/Quenda.Tbl
bash "$e2e_dir/make_table.sh" "$work/blank.ref" blank
bash "$e2e_dir/make_table.sh" "$work/filled.ref" filled

# Closes the running Quenda by $1: a message to its window, or keys typed into it.
close_by() {
  case $1 in
    keys-*)
      local keys
      main_to_front
      # "終了" is the last item of "ファイル": Up from the first goes round to it.
      if [[ $1 == keys-menu ]]; then keys=(F10 Down Up Return); else keys=(alt+F4); fi
      expect_exit_after "closing by $1" xdotool key --clearmodifiers "${keys[@]}"
      ;;
    *) close_expect "$1" "exited 0" ;;
  esac
}

# One start per way; what is saved does not depend on the way, so the two tables take turns.
ways=(exit wm-close sc-close keys-menu keys-alt-f4)
for ((i = 0; i < ${#ways[@]}; i++)); do
  how=${ways[i]}
  if ((i % 2 == 0)); then
    # No table: dismiss the box, close, a blank table is there.
    rm -f "$table"
    start_quenda
    expect_error_box "ファイル $wwork\\Quenda.Tbl は開けません."
    press_ok
    expect_main_window "$how, no table"
    close_by "$how"
    [[ -f $table ]] || fail "closing by $how wrote no table"
    expect_eq "$(size_of "$table")" 478800 "size of the table saved by $how"
    cmp "$table" "$work/blank.ref" >&2 || fail "closing by $how saved other bytes than a blank table"
  else
    # A filled table: rewritten (a new modification time) with the very same bytes.
    cp "$work/filled.ref" "$table"
    touch -d '2001-02-03 04:05:06' "$table"
    before=$(stat -c %y "$table")
    start_quenda
    expect_main_window "$how, filled table"
    close_by "$how"
    [[ $(stat -c %y "$table") != "$before" ]] || fail "closing by $how did not rewrite the table"
    cmp "$table" "$work/filled.ref" >&2 || fail "load and save by $how changed the table's bytes"
  fi
  [[ ! -e $table.tmp ]] || fail "closing by $how left the temporary file"
  echo "ok: closing by $how saves"
done
echo "PASS: close paths"
