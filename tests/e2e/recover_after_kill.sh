#!/usr/bin/env bash
# A session killed in the middle of its work, as a crash or a power cut would
# end it, and the next start: the real veltrace.exe opens a workspace, the
# vertex shader of its effect gets a wrong line through the shader pane and
# OK, the recovery copy is written on its timer, and the whole Wine session
# is killed. The next start offers the recovered workspace; after OK the
# shader pane shows the edited source with the wrong line marked, not the
# file's. Screenshots go to build/e2e/recovery/. Exits non-zero when a step
# does not happen.
#
# Run on demand; it waits for the recovery timer (a minute).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
source tests/e2e/e2e_lib.sh

out=build/e2e/recovery
mkdir -p "$out"
rm -f "$out"/*.png
rm -rf "$program_folder/recovery"
veltrace_ensure_display
tools/wine-session start

# The cube with the lit, textured effect (both shaders).
printf 'SCENE,\\media\\scenes\\cube.vase\r\nEFFECTS,1\r\nEFFECT_FILE,\\effects\\lit_textured.veff\r\nSUBSET,0,0\r\n' \
  >"$program_folder/Workspaces/recovery.vwork"

# Opens the effect's vertex shader pane from the workspace tree: a click on
# the tree's empty part gives it the keys; Scene's three folders, Effects,
# the effect (opened), then from the last item up past Pixel Shader.
open_vertex_shader_pane() {
  xdotool mousemove 100 300 click 1
  sleep 0.3
  xdotool key Home Down Down Down Down Down Right
  sleep 0.3
  xdotool key End Up Up Return
  wait_for_title 'Lit Textured - Vertex Shader' 20 >/dev/null
  sleep 1
}

start_veltrace 'Workspaces\recovery.vwork'
wait_for_title 'cube.vase - Veltrace' >/dev/null
sleep 2
open_vertex_shader_pane
# The pane opens over the preview; its editor's first line ends at the
# click, a wrong line follows, and OK applies it.
xdotool mousemove 245 286 click 1
xdotool key End Return
xdotool type --delay 30 'mvo r5, v0'
sleep 1.5
shot 01-wrong-line-typed
xdotool mousemove 271 577 click 1
echo "recover_after_kill: waiting for the recovery copy"
for _ in $(seq 90); do
  grep -qs 'mvo' "$program_folder"/recovery/effects/*/vertexshader.txt && break
  sleep 1
done
grep -qs 'mvo' "$program_folder"/recovery/effects/*/vertexshader.txt ||
  { echo "recover_after_kill: no recovery copy with the edit was written" >&2; exit 1; }

"$VELTRACE_WINESERVER" -k
sleep 2
tools/wine-session start
start_veltrace 'Workspaces\recovery.vwork'
wait_for_title 'Recover Workspace' 60 >/dev/null
sleep 1
shot 02-recovery-offered
# Cancel is the default answer; OK is one step back.
xdotool key shift+Tab Return
sleep 2
open_vertex_shader_pane
sleep 1.5
shot 03-restored-edit-marked
echo "recover_after_kill: passed"
