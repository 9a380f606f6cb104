#!/usr/bin/env bash
# veltrace-cli.exe render end to end under Wine: the sample workspace to a
# PNG, and the exit codes and messages of wrong command lines.
# Usage: cli_render_test.sh VELTRACE_CLI_EXE DATA_FOLDER WINE_RUN
set -uo pipefail
cli="$1"
data="$2"
wine_run="$3"
source "$(dirname "${BASH_SOURCE[0]}")/../support/cli_checks.sh"

# The Unix root is drive Z: under Wine.
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }

expect_exit() {
  local expected="$1"; shift
  out="$("$wine_run" "$cli" --program-folder "$(winpath "$data")" render "$@" 2>&1 | tr -d '\r')"
  local code=${PIPESTATUS[0]}
  [ "$code" -eq "$expected" ] || fail "exit $code instead of $expected: render $* -- $out"
}

sample="$(winpath "$data/Workspaces/sample.vwork")"

expect_exit 0 "$sample" -o "$(winpath "$work/frame.png")" --size 160x120 --time 0 --frames 2 --show light
[[ "$out" == *'Scene "pedestal.vase" loaded successfully ...'* ]] || fail "the scene load is not printed: $out"
[[ "$out" == *"Frame 160x120 written"* ]] || fail "no result line: $out"
[[ "$out" == *"2 frames in "*" frames per second"* ]] || fail "no frame rate for several frames: $out"
[ "$(head -c 8 "$work/frame.png" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] || fail "no PNG written"

expect_exit 2 "$sample" -o "$(winpath "$work/a.png")" --size 5x5
expect_exit 2 "$sample" -o "$(winpath "$work/a.png")" --frames 0
expect_exit 2 "$sample" -o "$(winpath "$work/a.png")" --show everything
expect_exit 2 "$sample" -o "$(winpath "$work/a.bmp")"
expect_exit 2 "$sample"
expect_exit 2 "$sample" -o "$(winpath "$work/a.png")" --time -1

expect_exit 1 "$(winpath "$work/none.vwork")" -o "$(winpath "$work/b.png")"
[[ "$out" == *"Error while opening"* ]] || fail "a missing workspace is not reported: $out"
[[ "$out" == *"veltrace-cli render: the workspace '"*"none.vwork' could not be read"* ]] ||
  fail "the unread workspace is not named in the group's form: $out"
[ ! -e "$work/b.png" ] || fail "a PNG was written for a missing workspace"

expect_exit 1 "$sample" -o "$(winpath "$work/no/such/folder/c.png")" --size 32x32 --time 0
[[ "$out" == *"cannot write"* ]] || fail "an unwritable output is not reported: $out"

# Without --program-folder the working folder is the program folder, also
# when its name has a character outside ASCII (here an e with an acute).
accented="$work/Caf$(printf '\xc3\xa9')"
mkdir -p "$accented"
cp -r "$data/prefs" "$accented/"
out="$(cd "$accented" && "$wine_run" "$cli" effect new x.veff --name X 2>&1 | tr -d '\r')"
[ -e "$accented/x.veff" ] || fail "no effect made in a working folder with an accented name: $out"

finish "render command"
