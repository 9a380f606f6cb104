#!/usr/bin/env bash
# Drives the real veltrace.exe from outside, as a person would: starts it on
# the sample workspace, opens the File menu, loads the cube scene through
# File > Load Scene and its file dialog, hides the Messages bar through the
# View menu and shows it again. Screenshots of each step go to build/e2e/.
# Exits non-zero when the program does not do what was asked.
#
# Run on demand (tests/e2e/drive_veltrace.sh) and by `make bench`; it needs
# the keyboard focus of the virtual display, so it does not run beside the
# other Windows tests.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
source tests/e2e/e2e_lib.sh

out=build/e2e
mkdir -p "$out"
rm -f "$out"/*.png
veltrace_ensure_display
tools/wine-session start

start_veltrace 'Workspaces\sample.vwork'

frame=$(wait_for_title 'pedestal.vase - Veltrace')
sleep 3
shot 01-sample-workspace

xdotool windowactivate --sync "$frame" 2>/dev/null || xdotool windowfocus --sync "$frame"
xdotool key --window "$frame" alt+f
sleep 1
shot 02-file-menu

# File: New, Open, Save, then Load Scene (separators are skipped).
xdotool key Down Down Down Return
dialog=$(wait_for_title 'Open')
sleep 1
shot 03-load-scene-dialog
xdotool type --delay 50 'cube.vase'
xdotool key Return
wait_for_title 'cube.vase - Veltrace' >/dev/null
sleep 2
shot 04-cube-loaded

# View > Messages hides the bar; again shows it.
xdotool key --window "$frame" alt+v m
sleep 1
shot 05-messages-hidden
xdotool key --window "$frame" alt+v m
sleep 1
shot 06-messages-shown
echo "drive_veltrace: passed"
