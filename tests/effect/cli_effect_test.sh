#!/usr/bin/env bash
# veltrace-cli effect new/check/resave end to end: exit codes, messages and
# the files written. Usage: cli_effect_test.sh VELTRACE_CLI DATA_FOLDER
set -uo pipefail
cli="$1"
data="$2"
source "$(dirname "${BASH_SOURCE[0]}")/../support/cli_checks.sh"

effect() { "$cli" --program-folder "$data" effect "$@"; }

# new: the files of the shipped sample, byte for byte.
expect_exit 0 effect new "$work/sample.veff" --name Sample
diff -r "$data/effects/sample" "$work/sample" >/dev/null || fail "new wrote other component files than the sample"
cmp -s "$data/effects/sample.veff" "$work/sample.veff" || fail "new wrote another index file than the sample"
expect_exit 1 effect new "$work/sample.veff"
[[ "$out" == *"exists already"* ]] || fail "an existing effect is not reported: $out"
expect_exit 2 effect new "$work/comma.veff" --name "a,b"
[ ! -e "$work/comma.veff" ] || fail "a name with a comma was written"
expect_exit 2 effect new "$work/noextension"
expect_exit 2 effect new
expect_exit 2 effect new "$work/x.veff" --name
expect_exit 1 "$cli" --program-folder "$work" effect new "$work/noprefs.veff"
[[ "$out" == *"Error while initializing render states !"* ]] || fail "missing catalogues not reported: $out"
[ ! -e "$work/noprefs.veff" ] || fail "an effect without catalogues was written"

# check: messages, then the summary.
expect_exit 0 effect check "$work/sample.veff"
[ "$out" = 'Effect "Sample": 0 vectors, 0 matrices, 0 colors; vertex shader none, pixel shader none; 7 render states and 0 texture stage states set' ] ||
  fail "unexpected check output: $out"
expect_exit 1 effect check "$work/missing.veff"
[[ "$out" == *'Error while opening effect "'*'missing.veff" !'* ]] || fail "missing index not reported: $out"
printf 'EFFECT_NAME,x\r\nWHAT,1\r\n' > "$work/bad.veff"
expect_exit 1 effect check "$work/bad.veff"
[[ "$out" == *'bad.veff" in line 2 !'* ]] || fail "bad index line not reported: $out"
expect_exit 2 effect check
expect_exit 2 effect check a.veff b.veff
expect_exit 2 effect frobnicate
expect_exit 2 effect
expect_exit 0 effect --help
[[ "$out" == *"resave IN.veff OUT.veff"* ]] || fail "help does not list the commands"

# A shader: check reads it, resave keeps it; a missing one is reported.
sed -e 's/VERTEXSHADER_FILE,NULL/VERTEXSHADER_FILE,vertexshader.txt/' -e 's/EFFECT_PATH,.sample./EFFECT_PATH,\\shaded\\/' "$work/sample.veff" > "$work/shaded.veff"
mkdir -p "$work/shaded"
cp "$work/sample/"*.txt "$work/shaded/"
printf 'vs.1.1\r\nmov oPos, v0\r\n' > "$work/shaded/vertexshader.txt"
expect_exit 0 effect check "$work/shaded.veff"
[[ "$out" == *"vertex shader present, pixel shader none"* ]] || fail "shader not seen: $out"
expect_exit 0 effect resave "$work/shaded.veff" "$work/copy.veff"
[[ "$out" == *'copy.veff" saved ...'* ]] || fail "resave did not report the save: $out"
cmp -s "$work/shaded/vertexshader.txt" "$work/copy/vertexshader.txt" || fail "resave lost the shader source"
for name in variables.txt texturesstagesstates.txt renderstates.txt streammapping.txt; do
  cmp -s "$work/shaded/$name" "$work/copy/$name" || fail "resave changed $name"
done
grep -q $'^VERTEXSHADER_FILE,vertexshader.txt\r$' "$work/copy.veff" || fail "resave lost the shader in the index"
rm "$work/shaded/vertexshader.txt"
expect_exit 0 effect check "$work/shaded.veff"
[[ "$out" == *'vertexshader.txt" !'* ]] || fail "missing shader file not reported: $out"
expect_exit 2 effect resave "$work/shaded.veff"
expect_exit 2 effect resave "$work/shaded.veff" "$work/out.txt"
expect_exit 1 effect resave "$work/missing.veff" "$work/out.veff"
[ ! -e "$work/out.veff" ] || fail "a failed load was saved"

# Usage errors are one line naming the problem; options are checked.
expect_exit 2 effect frobnicate
expect_usage_line effect
expect_exit 2 effect check --frob
[[ "$out" == *"unknown option '--frob'"* ]] || fail "an option taken for the index file: $out"
expect_exit 2 effect resave "$work/sample.veff" --frob
[[ "$out" == *"unknown option '--frob'"* ]] || fail "an option taken for the output file: $out"
expect_exit 0 effect help
[[ "$out" == *"resave IN.veff OUT.veff"* ]] || fail "effect help does not show the commands"

# Every group: --help after a command, and usage errors in the same form.
for group in effect scene workspace package asm disasm render; do
  expect_exit 0 "$cli" "$group" --help
  [[ "$out" == "usage: veltrace-cli"*" $group "* ]] || fail "$group --help shows no usage: $out"
  expect_exit 2 "$cli" "$group" --frob
  expect_usage_line "$group"
done
for command in "scene info" "workspace check" "package list" "disasm x.bin"; do
  expect_exit 0 "$cli" $command x --help
  [[ "$out" == "usage: veltrace-cli"* ]] || fail "$command --help shows no usage: $out"
done
expect_exit 0 "$cli" -h
[[ "$out" == "usage: veltrace-cli"* ]] || fail "-h shows no usage: $out"
expect_exit 0 "$cli" scene info x -h
[[ "$out" == "usage: veltrace-cli"*" scene "* ]] || fail "scene info -h shows no usage: $out"
for group in effect scene workspace package; do
  expect_exit 2 "$cli" "$group"
  expect_usage_line "$group"
done

# The top level in the same form.
expect_exit 2 "$cli"
[ "$out" = "veltrace-cli: no command group given (see 'veltrace-cli --help')" ] || fail "no group: $out"
expect_exit 2 "$cli" frobnicate
[ "$out" = "veltrace-cli: unknown command group 'frobnicate' (see 'veltrace-cli --help')" ] || fail "bad group: $out"
expect_exit 2 "$cli" --frob effect
[ "$out" = "veltrace-cli: unknown option '--frob' (see 'veltrace-cli --help')" ] || fail "bad option: $out"
expect_exit 2 "$cli" --program-folder
[ "$out" = "veltrace-cli: --program-folder needs a folder (see 'veltrace-cli --help')" ] || fail "no folder: $out"

finish "veltrace-cli effect"
