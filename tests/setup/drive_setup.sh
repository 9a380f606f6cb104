#!/usr/bin/env bash
# Installs Veltrace as a person would: starts the real Setup.exe, goes
# through its wizard from outside (Next, Install, Finish with "Start the
# application" ticked), checks that Veltrace starts from the installed
# folder, then runs the uninstall entry's command and removes it through the
# uninstall window. Screenshots of every page go to build/e2e/setup/.
# Exits non-zero when the installer does not do what was asked.
#
#   tests/setup/drive_setup.sh [Setup.exe]
# It needs the keyboard focus of the virtual display, so it does not run
# beside the other Windows tests.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
source tools/wine-env

installer="${1:-}"
if [ -z "$installer" ]; then
  installer=build/windows/Setup.exe
  veltrace_can_run_32bit || installer=build/windows64/Setup.exe
fi
if ! veltrace_can_run_32bit; then
  export VELTRACE_WINE_ARCH=win64
  source tools/wine-env
fi
[ -f "$installer" ] || { echo "drive_setup: $installer is not built" >&2; exit 1; }
command -v xdotool >/dev/null || { echo "drive_setup: xdotool is missing (tools/bootstrap installs it)" >&2; exit 1; }
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe="

out=build/e2e/setup
mkdir -p "$out"
rm -f "$out"/*.png
veltrace_ensure_display
tools/wine-session start

fail() { echo "drive_setup: $*" >&2; exit 1; }

# A screenshot of one window (the whole screen when it is gone).
shot() {
  local id="$1" name="$2" geometry
  import -window root "$out/$name.png"
  if geometry=$(xdotool getwindowgeometry --shell "$id" 2>/dev/null); then
    eval "$geometry"
    mogrify -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/$name.png"
  fi
  echo "drive_setup: $out/$name.png"
}

# Waits until a window with a title matching the pattern exists; prints its id.
wait_for_title() {
  local pattern="$1" id=""
  for _ in $(seq 120); do
    id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | tail -1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.5
  done
  fail "no window titled '$pattern' appeared"
}

# Presses a key in the window once it has the focus.
key_in() {
  local id="$1"; shift
  xdotool windowfocus --sync "$id" 2>/dev/null || true
  sleep 0.3
  xdotool key --clearmodifiers "$@"
}

pause() { sleep "${1:-1}"; }

# Opens a window's about box with its "&About..." button, photographs it and
# closes it again.
show_about() {
  local window="$1" title_pattern="$2" name="$3" about
  key_in "$window" alt+a
  about=$(wait_for_title "$title_pattern")
  pause
  shot "$about" "$name"
  key_in "$about" Escape
  pause
}

install_folder="$WINEPREFIX/drive_c/Program Files/Veltrace"
[ ! -e "$install_folder" ] || fail "Veltrace is already installed in $install_folder; remove it first"

download=$(mktemp -d /tmp/veltrace-download.XXXXXX)
cp "$installer" "$download/Setup.exe"
status="$download/setup-exit-code"
( cd "$download" && "$VELTRACE_WINE" Setup.exe >/dev/null 2>&1; echo $? >"$status" ) &
trap 'rm -rf "$download"' EXIT

wizard=$(wait_for_title '^Veltrace 0\.1\.0$')
pause 2
shot "$wizard" 01-welcome
show_about "$wizard" '^Veltrace 0\.1\.0 About$' 01-about
key_in "$wizard" Return
pause
shot "$wizard" 02-installation-options
key_in "$wizard" Return   # Install
pause 0.3
shot "$wizard" 03-installation-progress
# The wizard moves on to the result page by itself.
for _ in $(seq 240); do
  [ -f "$install_folder/Setup.ini" ] && break
  sleep 0.5
done
pause 3
shot "$wizard" 04-installation-completed
key_in "$wizard" Return   # Finish, "Start the application" ticked
for _ in $(seq 60); do [ -f "$status" ] && break; sleep 0.5; done
[ -f "$status" ] || fail "the wizard did not end"
[ "$(cat "$status")" = 0 ] || fail "Setup.exe ended with code $(cat "$status")"
[ -f "$install_folder/veltrace.exe" ] || fail "veltrace.exe is not in $install_folder"

# Veltrace, started by Finish from its installed folder.
frame=$(wait_for_title 'Veltrace$')
pause 4
shot "$frame" 05-veltrace-started
veltrace_pid=$(pgrep -f 'Program Files\\Veltrace\\veltrace.exe' | head -1 || true)
[ -n "$veltrace_pid" ] || fail "no veltrace.exe runs from the installed folder"
kill "$veltrace_pid"
for _ in $(seq 20); do kill -0 "$veltrace_pid" 2>/dev/null || break; sleep 0.5; done

# The uninstall entry's command.
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Veltrace'
uninstall=$("$VELTRACE_WINE" reg query "$entry" /v UninstallString 2>/dev/null | tr -d '\r' |
            sed -n 's/.*REG_SZ[[:space:]]*//p')
[ -n "$uninstall" ] || fail "no uninstall entry $entry"
echo "drive_setup: uninstalling with $uninstall"
program="${uninstall% /remove}"
"$VELTRACE_WINE" "$program" /remove >/dev/null 2>&1 &
remover=$!
window=$(wait_for_title '^Uninstall Veltrace$')
pause 2
shot "$window" 06-uninstall
show_about "$window" '^Veltrace About$' 06-uninstall-about
key_in "$window" Return   # Uninstall
pause 3
shot "$window" 07-uninstalled
key_in "$window" Escape   # Finish
wait "$remover" || fail "the removal ended with code $?"
# The deletion agent takes the installed copy of the setup program and the
# folders once the setup program has ended.
for _ in $(seq 30); do [ -e "$install_folder" ] || break; sleep 1; done
[ ! -e "$install_folder" ] || fail "$install_folder is still there: $(ls -A "$install_folder")"
if "$VELTRACE_WINE" reg query "$entry" >/dev/null 2>&1; then fail "the uninstall entry is still there"; fi
echo "drive_setup: installed, started and removed"
