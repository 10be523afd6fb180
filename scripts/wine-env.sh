# Wine environment for Quenda's Windows build. Source it:  source scripts/wine-env.sh
#
# Exports WINEPREFIX (build/wineprefix, the project's own), WINEARCH, WINEDEBUG, LC_ALL
# (ja_JP.UTF-8: code page 932 and Japanese date formats; LOCPATH too when the system lacks that
# locale) and DISPLAY. When no display answers,
# a virtual one (Xvfb) is started and QUENDA_VIRTUAL_DISPLAY=1 is exported. The prefix is
# created once; a persistent wineserver and Wine's helper processes are started with their
# output on log files, so that none of them holds a caller's pipe open (ctest, `| tee`).
# Safe to source many times and from several scripts at once.
#
# Lanes: with QUENDA_WINE_LANE=N (N > 0), or when ctest hands a test desktop N (its resource
# group "desktop"), the prefix is build/wineprefix-N with a wineserver and a virtual display of
# its own: a second machine, so that tests that need the desktop alone can run side by side.
#
# Executed rather than sourced, the file does the set-up and prints "DISPLAY VIRTUAL"; the
# sourced part runs it that way so a failure cannot end an interactive caller's shell.

if [[ "${BASH_SOURCE[0]}" == "$0" ]]; then
  set -euo pipefail
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  lane=${QUENDA_WINE_LANE:-0}
  state="$root/build/wine-state"
  ((lane == 0)) || state+="-$lane"
  mkdir -p "$state" "$WINEPREFIX"

  # Runs "$@" in the background, detached, without any of our descriptors: an inherited pipe
  # would keep a reader waiting for as long as the daemon lives.
  detach() {
    local log=$1; shift
    (
      for fd in /proc/$BASHPID/fd/*; do
        fd=${fd##*/}
        ((fd > 2)) && eval "exec $fd>&-"
      done
      exec setsid "$@" </dev/null >>"$log" 2>&1
    ) &
  }
  # Runs "$@" in the foreground the same way, waiting for it.
  quiet() {
    local log=$1; shift
    (
      for fd in /proc/$BASHPID/fd/*; do
        fd=${fd##*/}
        ((fd > 2)) && eval "exec $fd>&-"
      done
      exec "$@" </dev/null >>"$log" 2>&1
    )
  }
  answers() { [[ -n "$1" ]] && timeout 10 xdpyinfo -display "$1" >/dev/null 2>&1; }
  alive() { local s; s=$(cut -d' ' -f3 "/proc/$1/stat" 2>/dev/null) && [[ "$s" != Z ]]; }

  exec 9>"$state/lock"
  flock -w 300 9 || { echo "wine-env: timed out waiting for $state/lock" >&2; exit 1; }

  # --- display ---
  ours=$(cat "$state/display" 2>/dev/null || true)
  # A lane's tests never share the caller's display.
  if ((lane == 0)) && answers "${DISPLAY:-}"; then
    display=$DISPLAY
    virtual=0; [[ "$display" == "$ours" ]] && virtual=1
  elif [[ -n "$ours" ]] && answers "$ours"; then
    display=$ours virtual=1
  else
    display="" virtual=1
    # One Xvfb starts at a time on this machine (lanes, other checkouts): two picking a number
    # at once would both find the first one's server answering and share its display.
    exec 8>/tmp/quenda-xvfb.lock
    flock -w 120 8 || { echo "wine-env: timed out waiting for /tmp/quenda-xvfb.lock" >&2; exit 1; }
    for ((n = 91; n < 140; n++)); do
      [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
      detach "$state/xvfb.log" Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp
      pid=$!
      for ((i = 0; i < 100; i++)); do
        # Another server may have taken the number first; then try the next one.
        alive "$pid" || break
        if answers ":$n"; then display=":$n"; break; fi
        sleep 0.1
      done
      [[ -n "$display" ]] && break
      kill "$pid" 2>/dev/null || true
    done
    [[ -n "$display" ]] || { echo "wine-env: could not start Xvfb (see $state/xvfb.log)" >&2; exit 1; }
    echo "$display" >"$state/display"
    exec 8>&-
  fi
  export DISPLAY=$display

  # --- wineserver and prefix ---
  # Exit status 2: a server for this prefix already runs (and with it the helpers).
  rc=0; quiet "$state/wineserver.log" wineserver -p || rc=$?
  ((rc == 0 || rc == 2)) || { echo "wine-env: wineserver failed (see $state/wineserver.log)" >&2; exit 1; }
  # Bump when the settings below change, so existing prefixes get them too.
  settings=3
  # A new prefix, or a fresh server: boot now, so that the helpers get our logs as their output.
  # Plain wineboot creates a missing prefix too; "-i" would boot a new one a second time and
  # leave two service managers, which make later starts slow and flaky. (The settings file,
  # not system.reg, tells a new prefix: a persistent server writes the registry only now and
  # then.)
  if [[ ! -f "$WINEPREFIX/.quenda-settings" ]] || ((rc == 0)); then
    quiet "$state/wineboot.log" wineboot ||
      { echo "wine-env: wineboot failed (see $state/wineboot.log)" >&2; exit 1; }
  fi
  if [[ "$(cat "$WINEPREFIX/.quenda-settings" 2>/dev/null)" != "$settings" ]]; then
    # No crash dialog waiting for a click in unattended runs; Wine draws the window frames
    # itself, so that caption and close box exist on a display without a window manager.
    regadd() {
      quiet "$state/wineboot.log" wine reg add "$@" /f ||
        { echo "wine-env: setting the registry failed (see $state/wineboot.log)" >&2; exit 1; }
    }
    regadd 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
    regadd 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N
    # No window manager runs to answer for managed windows: Wine waits two seconds for one at
    # every dialog shown and hidden. The window tests' windows are left unmanaged; Quenda.exe's
    # stay as on a desktop, where bringing the main window to the front is a test of its own.
    regadd 'HKCU\Software\Wine\AppDefaults\quenda_win_tests.exe\X11 Driver' /v Managed /t REG_SZ /d N
    # Debian's Wine looks for its own fonts in a folder that does not exist; without Marlett the
    # caption buttons and menu check marks show as letters.
    if [[ -f /usr/share/wine/fonts/marlett.ttf ]]; then
      cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
    fi
    echo "$settings" >"$WINEPREFIX/.quenda-settings"
  fi
  echo "$DISPLAY $virtual"
  exit 0
fi

if [[ ${CTEST_RESOURCE_GROUP_0_DESKTOP:-} =~ id:([0-9]+) ]]; then
  export QUENDA_WINE_LANE=${BASH_REMATCH[1]}
fi
export WINEPREFIX="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/wineprefix"
((${QUENDA_WINE_LANE:-0} == 0)) || WINEPREFIX+="-$QUENDA_WINE_LANE"
export WINEARCH=win64
export WINEDEBUG=${QUENDA_WINEDEBUG:--all}
# A system without ja_JP.UTF-8 (and no root to add it, as scripts/deps.sh does) gets one of its
# own under build/, so that neither Wine nor the shell meets a locale it cannot set.
if [[ -n $(env LC_ALL=ja_JP.UTF-8 locale 2>&1 >/dev/null) ]]; then
  export LOCPATH="${WINEPREFIX%/wineprefix*}/locale"
  [[ -d $LOCPATH/ja_JP.UTF-8 ]] ||
    { mkdir -p "$LOCPATH" && localedef -i ja_JP -c -f UTF-8 "$LOCPATH/ja_JP.UTF-8" >/dev/null 2>&1; } ||
    echo "wine-env: could not make the locale ja_JP.UTF-8 (is the package locales installed?)" >&2
fi
# This shell cannot take a LOCPATH set now; only what it starts finds that locale.
export LC_ALL=ja_JP.UTF-8 2>/dev/null
export WINEDLLOVERRIDES="mscoree,mshtml="
if _quenda_wine=$(bash "${BASH_SOURCE[0]}"); then
  export DISPLAY=${_quenda_wine% *}
  if [[ ${_quenda_wine##* } == 1 ]]; then export QUENDA_VIRTUAL_DISPLAY=1; else unset QUENDA_VIRTUAL_DISPLAY; fi
  unset _quenda_wine
  # Tells scripts/wine-run.sh that this prefix is set up.
  export QUENDA_WINE_READY=$WINEPREFIX
else
  unset _quenda_wine QUENDA_WINE_READY
  return 1
fi
