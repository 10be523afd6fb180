#!/usr/bin/env bash
# Takes the manual's and the README's screenshots of the real Quenda.exe under Wine: the main
# window on an address page and on a program page, a slot's popup menu, the URL entry editor,
# the program entry editor with its folder chooser and icon picker, the help dialog, and the
# main window on P1 at 144 DPI. Writes docs/manual/*.png. Needs a built build/windows
# (scripts/test.sh or run.sh).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build/windows
source "$root/scripts/wine-env.sh"
driver=$build/tests/e2e/quenda_driver.exe
work=$(mktemp -d /tmp/quenda-shots.XXXXXX)
# Wine takes the DPI from here as a process starts; the prefix is left at 96 whatever happens.
set_dpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f \
    </dev/null >/dev/null 2>&1
}
# The program runs from C:\Quenda with its manual, as from an unpacked download, so that the
# help dialog shows that place.
home=$WINEPREFIX/drive_c/Quenda
trap 'set_dpi 96; rm -rf "$work" "$home"' EXIT
python3 "$root/tests/e2e/make_sample_table.py" "$work/Quenda.Tbl"
mkdir -p "$home"
cp "$build/Quenda.exe" "$home/"
cp "$build/Quenda-manual.html" "$home/" 2>/dev/null || cp "$root/docs/manual/index.html" "$home/Quenda-manual.html"
out=$root/docs/manual

drv() { wine "$driver" "$@" </dev/null 2>/dev/null; }
start() {
  drv mutex-free 60000
  wine "$driver" start 'C:\Quenda\Quenda.exe' "$(winepath -w "$work")" \
    </dev/null >"$work/pid" 2>/dev/null
  pid=$(<"$work/pid")
  drv window "$pid" TMainForm 20000 >/dev/null
}
start

# The window's frame on the screen, from X; the shot is cropped to it.
shot() {  # NAME X-WINDOW-NAME [EXTRA-WIDTH EXTRA-HEIGHT]
  local id geometry
  sleep 1
  id=$(xdotool search --name "^$2\$" | tail -n 1)
  geometry=$(xdotool getwindowgeometry --shell "$id")
  eval "$geometry"
  import -window root -crop "$((WIDTH + ${3:-0}))x$((HEIGHT + ${4:-0}))+${X}+${Y}" "$out/$1.png"
  echo "docs/manual/$1.png"
}
focus() {
  xdotool windowfocus --sync "$(drv xwindow "$pid" TMainForm 20000)"
  drv foreground "$pid" TMainForm 20000
}
menu_choose() {  # SLOT-ID DOWN-COUNT
  drv rclick "$pid" "$1" 20000
  drv window "$pid" '#32768' 20000 >/dev/null
  local keys=()
  for ((i = 0; i < $2; i++)); do keys+=(Down); done
  xdotool key --clearmodifiers --delay 200 "${keys[@]}" Return
}

focus
xdotool mousemove 0 0
drv texts "$pid" 219 219 20000 >/dev/null
shot main-window-d1 Quenda
# A slot's popup menu, left open for the shot.
focus
drv rclick "$pid" 219 20000
drv window "$pid" '#32768' 20000 >/dev/null
shot slot-menu Quenda
xdotool key --clearmodifiers Escape
focus
menu_choose 219 2
drv window "$pid" TKeyIn_URL 20000 >/dev/null
shot url-editor "ＵＲＬ情報取得／編集"
drv wclick "$pid" TKeyIn_URL 122 20000  # ｷｬﾝｾﾙ
drv click "$pid" 205 20000  # P1
shot main-window-p1 Quenda
focus
menu_choose 219 1
drv window "$pid" TPrgForm 20000 >/dev/null
shot program-editor "プログラムランチ　登録／編集"
drv wclick "$pid" TPrgForm 111 20000  # 参照 beside the working folder
drv window "$pid" TGetFolder 20000 >/dev/null
shot folder-chooser "ディレクトリー選択"
drv wclick "$pid" TGetFolder 120 20000  # ｷｬﾝｾﾙ
# A library of many icons through the file dialog: the picker shows them.
drv wclick "$pid" TPrgForm 108 20000  # 参照 beside the program
drv window "$pid" '#32770' 20000 >/dev/null
sleep 1
xdotool type --delay 50 'C:\windows\system32\shell32.dll'
xdotool key --clearmodifiers Return
drv window "$pid" TPrgIconGetBox 20000 >/dev/null
xdotool mousemove 0 0
shot icon-picker "Ｉｃｏｎ取り出し"
drv wclick "$pid" TPrgIconGetBox 130 20000  # OK
drv wclick "$pid" TPrgForm 120 20000  # ｷｬﾝｾﾙ
focus
xdotool key --clearmodifiers --delay 200 F10 Right Down Return
drv window "$pid" TOpHelp 20000 >/dev/null
shot help "ヘルプ"
drv wclick "$pid" TOpHelp 105 20000  # OK
drv close "$pid" wm-close 20000 >/dev/null

# At 144 DPI on P1: icons, and the hovered slot's details (the popup that brought the mouse
# there is closed again).
set_dpi 144
start
focus
xdotool mousemove 0 0
drv click "$pid" 205 20000  # P1
drv rclick "$pid" 219 20000
drv window "$pid" '#32768' 20000 >/dev/null
xdotool key --clearmodifiers Escape
shot main-window-144dpi Quenda
drv close "$pid" wm-close 20000 >/dev/null
