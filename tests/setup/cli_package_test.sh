#!/usr/bin/env bash
# veltrace-cli package build/attach/list/extract end to end: a setup program
# made from a script and a payload lists the script first and every payload
# file with its version words, extracts byte for byte, and damaged or unsafe
# input fails with a message and exit 1.
# Usage: cli_package_test.sh VELTRACE_CLI FIXTURE_FOLDER
set -uo pipefail
cli="$1"
fixtures="$2"
source "$(dirname "${BASH_SOURCE[0]}")/../support/cli_checks.sh"

package() { "$cli" package "$@"; }

payload="$work/payload"
mkdir -p "$payload/docs"
cp "$fixtures/version_probe.exe" "$payload/probe.exe"
printf 'Read me first.\r\n' > "$payload/docs/readme.txt"
printf 'Version=2.66.1387\r\n\r\n[Install]\r\nOptions=0\r\n\r\n[Symbols]\r\nAppFolder=1|255|C:\\App\r\nAppTitle=2|255|App\r\n\r\n[Files]\r\nInstallDir=<AppFolder>\r\nFile=probe.exe|0|3|2|0|0=probe.exe|0|-1|247|0||\r\nFile=docs\\readme.txt|0|3|2|0|0=docs\\readme.txt|0|-1|247|0||\r\n\r\n' > "$payload/Setup.ini"

# build, attach, list: the script first, then the payload in script order.
expect_exit 0 package build "$payload/Setup.ini" "$payload" -o "$work/app.ovz"
expect_exit 0 package attach "$fixtures/version_probe.exe" "$work/app.ovz" -o "$work/setup.exe"
[[ "$out" == *"written"* ]] || fail "attach did not report the setup program: $out"
expect_exit 0 package list "$work/setup.exe"
records="$(grep -v '^name ' <<<"$out")"
[[ "$(sed -n 1p <<<"$records")" == Setup.ini* ]] || fail "the script is not the first record: $out"
[[ "$(sed -n 2p <<<"$records")" == probe.exe*1.2.3.4*5.6.7.8* ]] || fail "the payload program lacks its versions: $out"
[[ "$(sed -n 3p <<<"$records")" == docs\\readme.txt* ]] || fail "the payload text is missing: $out"
[[ "$out" == *"3 records"* ]] || fail "unexpected record count: $out"
expect_exit 0 package list "$work/app.ovz"
[[ "$out" == *"3 records"* ]] || fail "a bare package does not list: $out"

# extract: byte for byte, below the target folder.
expect_exit 0 package extract "$work/setup.exe" "$work/out"
cmp -s "$payload/probe.exe" "$work/out/probe.exe" || fail "extracted program differs"
cmp -s "$payload/docs/readme.txt" "$work/out/docs/readme.txt" || fail "extracted text differs"
# The packed script carries each payload file's size in its File line.
size_of_probe=$(stat -c %s "$payload/probe.exe")
grep -q "^File=probe.exe|$size_of_probe|" "$work/out/Setup.ini" || fail "the packed script lacks the program's size"
grep -q $'^File=docs\\\\readme.txt|16|' "$work/out/Setup.ini" || fail "the packed script lacks the text's size"

# A payload file the script names but the folder lacks.
rm "$payload/docs/readme.txt"
expect_exit 1 package build "$payload/Setup.ini" "$payload" -o "$work/broken.ovz"
[ ! -e "$work/broken.ovz" ] || fail "a package with a missing file was written"

# Damage: a cut package and a flipped byte inside the stream both fail.
size=$(stat -c %s "$work/app.ovz")
head -c $((size / 2)) "$work/app.ovz" > "$work/cut.ovz"
expect_exit 1 package list "$work/cut.ovz"
expect_exit 1 package extract "$work/cut.ovz" "$work/cut"
cp "$work/app.ovz" "$work/flipped.ovz"
printf '\x55' | dd of="$work/flipped.ovz" bs=1 seek=$((size / 3)) conv=notrunc status=none
expect_exit 1 package list "$work/flipped.ovz"
expect_exit 1 package list "$fixtures/version_probe.exe"
expect_exit 1 package list "$work/missing.ovz"
expect_exit 1 package attach "$fixtures/version_probe.exe" "$payload/Setup.ini" -o "$work/x.exe"
[[ "$out" == *"is not a setup package"* ]] || fail "attaching a non-package is not refused: $out"
[ ! -e "$work/x.exe" ] || fail "a setup program without a package was written"

# Usage errors.
expect_exit 2 package build "$payload/Setup.ini"
expect_exit 2 package attach "$fixtures/version_probe.exe" "$work/app.ovz"
expect_exit 2 package list
expect_exit 2 package extract "$work/app.ovz"
expect_exit 2 package frobnicate
expect_exit 0 package --help
[[ "$out" == *"extract FILE DIR"* ]] || fail "help does not list the commands"

# One prefix for the group, the path of what cannot be read, and options
# or missing values refused on one line.
expect_exit 1 package list "$work/missing.ovz"
[ "$out" = "veltrace-cli package: cannot read '$work/missing.ovz'" ] || fail "a missing package is not named: $out"
expect_exit 1 package extract "$work/missing.ovz" "$work/none"
[ "$out" = "veltrace-cli package: cannot read '$work/missing.ovz'" ] || fail "a missing package is not named: $out"
expect_exit 1 package list "$fixtures/version_probe.exe"
[[ "$out" == "veltrace-cli package: '"*"' holds no setup package" ]] || fail "not a package: $out"
expect_exit 2 package list --frob
expect_usage_line package
expect_exit 2 package extract "$work/app.ovz" --frob
expect_usage_line package
expect_exit 2 package build "$payload/Setup.ini" "$payload" -o
[[ "$out" == *"-o needs a file name"* ]] || fail "a missing -o value is not named: $out"
expect_usage_line package

finish package
