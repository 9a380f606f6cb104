#!/usr/bin/env bash
# veltrace-cli scene and workspace end to end: the information tree of every
# sample scene, an OBJ imported and read back with the same triangles, exit
# codes and messages. Usage: cli_scene_test.sh VELTRACE_CLI DATA_FOLDER
set -uo pipefail
cli="$1"
data="$2"
source "$(dirname "${BASH_SOURCE[0]}")/../support/cli_checks.sh"

scene() { "$cli" --program-folder "$data" scene "$@"; }

# Every sample scene loads and shows its tree and a summary.
for file in "$data"/media/scenes/*.vase; do
  name="$(basename "$file")"
  expect_exit 0 scene info "$file"
  [[ "$out" == *"Scene \"$name\" loaded successfully ..."* ]] || fail "$name: no success line"
  for item in "Meshes" "Mesh #1 (" "Indices : " "Subset #1" "Triangles : " "Materials" "Material #1 (" \
              "Diffuse = (" "Textures"; do
    [[ "$out" == *"$item"* ]] || fail "$name: no \"$item\" in the tree"
  done
  [[ "$(echo "$out" | tail -1)" =~ ^[0-9]+\ meshes,\ [0-9]+\ subsets,\ [0-9]+\ triangles ]] || fail "$name: no summary"
done
expect_exit 0 scene info "$data/media/scenes/pedestal.vase"
[[ "$out" == *"Sub-Material : #3"* && "$out" == *"Alpha Texture = grating_alpha.bmp"* ]] ||
  fail "the pedestal's sub-materials are not shown"

# A model imported and read back: the same triangle count.
cat > "$work/quad.obj" <<'OBJ'
v 0 0 0
v 1 0 0
v 1 1 0
v 0 1 0
v 2 0 0
vt 0 0
vt 1 0
vt 1 1
f 1/1 2/2 3/3
f 1/1 3/3 4/2
f 2/1 5/2 3/3
OBJ
expect_exit 0 scene import "$work/quad.obj" "$work/quad.vase"
expect_exit 0 scene info "$work/quad.vase"
[[ "$(echo "$out" | tail -1)" == "1 meshes, 1 subsets, 3 triangles, "* ]] || fail "import changed the triangles: $out"
# The import never replaces a file and leaves nothing behind when it fails;
# --keep-units keeps the model's own coordinates (framed, the quad would
# reach about 8.9 units from the origin).
expect_exit 1 scene import "$work/quad.obj" "$work/quad.vase"
[[ "$out" == *'Cannot import "quad.obj": '*"exists already"* ]] || fail "an existing scene is not kept: $out"
expect_exit 0 scene import --keep-units "$work/quad.obj" "$work/kept.vase"
grep -q '\*V [0-9]* 2 -\?0 0' "$work/kept.vase" || fail "--keep-units moved the model"
printf 'v 0 0 0\nv 1 0 0\nl 1 2\n' > "$work/wire.obj"
expect_exit 1 scene import "$work/wire.obj" "$work/wire.vase"
[[ "$out" == *'Cannot import "wire.obj": the model holds only lines, no triangles'* ]] || fail "lines are not refused: $out"
[ ! -e "$work/wire.vase" ] && [ ! -e "$work/wire.vase.importing" ] || fail "a refused import left a file"

# A plain ASE file (faces as "*MESH_FACE" lines only) is not shown empty:
# info fails and says why.
cat > "$work/plain.ase" <<'ASE'
*GEOMOBJECT {
	*NODE_NAME "Tri"
	*MESH {
		*MESH_NUMVERTEX 3
		*MESH_NUMFACES	1
		*MESH_VERTEX_LIST {
			*MESH_VERTEX 0 0 0 0
			*MESH_VERTEX 1 1 0 0
			*MESH_VERTEX 2 0 0 1
		}
		*MESH_FACE_LIST {
			*MESH_FACE 0: A: 0 B: 1 C: 2 AB: 1 BC: 1 CA: 1 *MESH_SMOOTHING 1 *MESH_MTLID 0
		}
	}
}
ASE
expect_exit 1 scene info "$work/plain.ase"
[[ "$out" == *'Scene "plain.ase" holds its faces only as "*MESH_FACE" lines'* && "$out" != *"meshes,"* ]] ||
  fail "a plain ASE file is not sent to the import: $out"

# Failures and bad usage.
expect_exit 1 scene info "$work/none.vase"
[[ "$out" == *'Failed to load Scene "none.vase" !'* ]] || fail "a missing scene is not reported: $out"
echo "*GEOMOBJECT { *NODE_NAME \"x\" }" > "$work/broken.vase"
expect_exit 1 scene info "$work/broken.vase"
expect_exit 1 scene import "$work/none.obj" "$work/x.vase"
expect_exit 2 scene info
expect_exit 2 scene frobnicate
expect_exit 0 scene --help

# Sample media written anew match the shipped files.
expect_exit 0 scene samples "$work/program"
diff -r "$data/media" "$work/program/media" >/dev/null || fail "the samples differ from the shipped media"

# A workspace naming a sample scene and a missing effect.
mkdir -p "$work/program/prefs" && cp "$data"/prefs/*.txt "$work/program/prefs/"
printf 'SCENE,\\media\\scenes\\cube.vase\r\nEFFECTS,1\r\nEFFECT_FILE,\\effects\\gone.veff\r\n' > "$work/program/a.vwork"
out="$("$cli" --program-folder "$work/program" workspace check "$work/program/a.vwork" 2>&1)"
[ $? -eq 1 ] || fail "a workspace with a missing effect does not fail"
[[ "$out" == *'Scene "cube.vase" loaded successfully ...'* && "$out" == *"Mesh #1 (Cube): none"* ]] ||
  fail "workspace check does not show the scene: $out"

# Options are not taken for file names; a scene that cannot be read is
# named with the path given.
expect_exit 2 scene samples --frob
expect_usage_line scene
expect_exit 2 scene info --frob
expect_usage_line scene
expect_exit 2 scene import --frob "$work/x.vase"
expect_exit 1 scene info "$work/gone/none.vase"
[[ "$out" == *"veltrace-cli scene: cannot read '$work/gone/none.vase'"* ]] || fail "the unread path is not named: $out"
expect_exit 1 "$cli" --program-folder "$work/program" workspace check "$work/program/none.vwork"
[[ "$out" == *"Error while opening"* && "$out" != *"0 effects"* ]] || fail "an unread workspace shows a summary: $out"
expect_exit 2 "$cli" --program-folder "$work/program" workspace check --frob
expect_usage_line workspace

finish "scene command"
