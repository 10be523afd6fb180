#!/usr/bin/env bash
# Yesterday's backup restored by keys alone: Alt, Enter opens "ファイル" on "バックアップから戻す…",
# Enter chooses it and Enter in the dialog the newest backup. The save keeps today's table among
# the backups first; after a restart the table holds the backup's slots.
source "$(dirname "$0")/lib.sh" "$@"

table=$work/Quenda.Tbl
python3 "$e2e_dir/make_sample_table.py" "$table"
cp "$table" "$work.original"
wbackups=$(timeout "$call_guard" wine "$build/tests/e2e/table_peer.exe" --backup-folder "$wwork" \
  </dev/null 2>>"$log") || fail "table_peer named no backup folder"
backups=$(timeout "$call_guard" winepath -u "${wbackups%$'\r'}" 2>>"$log") || true
[[ $backups == /*/AppData/Local/Quenda/Backups/* ]] ||
  fail "the backup folder '$wbackups' is not in the local application data ('$backups')"
mkdir -p "$backups"
# Yesterday slot 0 of D1 was titled "昨日の表".
yesterday=$backups/Quenda.Tbl.$(date -d yesterday +%Y%m%d)
python3 - "$table" "$yesterday" <<'PY'
import sys
data = bytearray(open(sys.argv[1], "rb").read())
data[4:68] = "昨日の表".encode("cp932").ljust(64, b"\0")
open(sys.argv[2], "wb").write(data)
PY

start_quenda
expect_main_window "with yesterday's backup"
main_to_front
press_for_window '#32768' "the menu did not open from the keyboard" alt return
drv keys return || fail "could not choose from the menu"
drv window "$pid" TBackupForm "$wait_ms" >/dev/null || fail "the backup dialog did not open"
drv foreground "$pid" TBackupForm "$wait_ms" || fail "the backup dialog did not come to the front"
drv keys return || fail "could not press Enter in the backup dialog"
drv foreground "$pid" TMainForm "$wait_ms" || fail "the main window did not come back"
expect_eq "$(drv texts "$pid" 110 110 "$wait_ms")" \
  $'110\tバックアップから戻しました: '"$(date -d yesterday +%Y/%-m/%-d)" "the info line after restoring"
cmp -s "$work.original" "$backups/Quenda.Tbl.$(date +%Y%m%d)" ||
  fail "the first save of the day did not keep today's table whole"
close_expect wm-close "exited 0"

start_quenda
expect_main_window "after the restore"
expect_eq "$(drv texts "$pid" 218 219 "$wait_ms")" $'218\t昨日の表\n219\t天気予報' \
  "slots 0 and 1 of D1 after a restart"
close_expect wm-close "exited 0"
echo "PASS: backups"
