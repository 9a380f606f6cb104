#!/usr/bin/env bash
# The real Veltrace installer, quietly, in a fresh Wine prefix: `Setup.exe /Q`
# installs every file of the package, the program group's shortcuts, the uninstall entry, App
# Paths, the installed copy of the setup program without its package and the
# saved script; the installed veltrace.exe starts from its folder on the
# sample workspace (screenshot) and the installed veltrace-cli.exe renders
# it; then the uninstall entry's command removes it all, and after the
# deletion agent and a restart of the prefix nothing of the installation is
# left: no file, folder, shortcut or registry value.
#
#   tests/e2e/quiet_install.sh [Setup.exe]
# Run on demand; pictures go to build/e2e/quiet/.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/../.."
export VELTRACE_WINEPREFIX="$PWD/build/wineprefix-quiet"
export VELTRACE_WINEPREFIX64="$PWD/build/wineprefix-quiet64"
export VELTRACE_XVFB_DISPLAY=94
source tests/e2e/e2e_lib.sh
preset=windows
veltrace_can_run_32bit || preset=windows64
installer="${1:-build/$preset/Setup.exe}"
[ -f "$installer" ] || { echo "quiet_install: $installer is not built" >&2; exit 1; }
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe="
out=build/e2e/quiet
mkdir -p "$out"
rm -f "$out"/*

fail() { echo "quiet_install: $*" >&2; shot failed; exit 1; }

# A fresh prefix: nothing of an earlier run can hide a leftover of this one.
"$VELTRACE_WINESERVER" -k >/dev/null 2>&1 || true
rm -rf "$WINEPREFIX"
veltrace_ensure_display
tools/wine-session start
trap '"$VELTRACE_WINESERVER" -k >/dev/null 2>&1 || true' EXIT
drive_c="$WINEPREFIX/drive_c"

# What the prefix holds, to compare after the removal: every file and folder
# of drive C (but the temporary folders and Wine's own caches) and the
# registry's lines that name Veltrace.
files_of_prefix() {
  (cd "$drive_c" && find . -path './users/*/Temp' -prune -o -path './windows/temp' -prune \
     -o -path './windows/Installer' -prune -o -path './ProgramData/Microsoft/Windows/Caches' -prune -o -print) |
    sort
}
registry_of_prefix() {
  # The wineserver writes the registry files as it ends.
  "$VELTRACE_WINESERVER" -k >/dev/null 2>&1 || true
  "$VELTRACE_WINESERVER" -w >/dev/null 2>&1 || true
  # Veltrace's own settings (its recent files, window places) are the
  # user's, kept for a later installation as programs do.
  cat "$WINEPREFIX/system.reg" "$WINEPREFIX/user.reg" |
    awk '/^\[/ { own = index($0, "[Software\\\\Veltrace\\\\Veltrace") == 1 } !own' |
    grep -vi -e '^#time=' -e '^;;' -e 'timestamp' | grep -i 'veltrace' || true
}
files_of_prefix >"$out/files-before.txt"
[ -z "$(registry_of_prefix)" ] || fail "the fresh prefix already names Veltrace in its registry"

download=$(mktemp -d /tmp/veltrace-download.XXXXXX)
trap 'rm -rf "$download"; "$VELTRACE_WINESERVER" -k >/dev/null 2>&1 || true' EXIT
cp "$installer" "$download/Setup.exe"
code=0
(cd "$download" && "$VELTRACE_WINE" Setup.exe /Q /B0 >/dev/null 2>&1) || code=$?
[ "$code" = 0 ] || fail "Setup.exe /Q ended with code $code"

app="$drive_c/Program Files/Veltrace"
[ -d "$app" ] || fail "nothing was installed in $app"
saved="$app/Setup.ini"
[ -f "$saved" ] || fail "no Setup.ini was saved"
tr -d '\r' <"$saved" >"$out/Setup.ini"

# Every file of the package is in place with a state above zero.
unix_path() { local path="${1#[Cc]:\\}"; printf '%s/%s' "$drive_c" "${path//\\//}"; }
installed=0
while IFS='|' read -r target state; do
  [ "$state" -gt 0 ] || fail "$target has state $state"
  [ -f "$(unix_path "$target")" ] || fail "$target is missing"
  installed=$((installed + 1))
done < <(sed -n 's/^File=\([^|]*\)|[^=]*=[^|]*|\([^|]*\)|.*/\1|\2/p' "$out/Setup.ini")
[ "$installed" -gt 20 ] || fail "only $installed files were installed"
echo "quiet_install: $installed files installed"

# The copy of the setup program holds no package: it is setup.exe as built.
program_size=$(stat -c %s "build/$preset/setup/installer/setup.exe" 2>/dev/null || stat -c %s "build/$preset/setup/setup.exe")
[ "$(stat -c %s "$app/Setup.exe")" = "$program_size" ] ||
  fail "the installed Setup.exe is $(stat -c %s "$app/Setup.exe") bytes, setup.exe $program_size"

# Shortcuts: in the program group and on the desktop.
find "$drive_c" -iname '*Veltrace.lnk' | sed "s|^$drive_c/||" >"$out/shortcuts.txt"
grep -q 'Programs/Veltrace/Veltrace.lnk$' "$out/shortcuts.txt" || fail "no Veltrace shortcut in the program group"
grep -q 'Programs/Veltrace/Uninstall Veltrace.lnk$' "$out/shortcuts.txt" || fail "no uninstall shortcut in the program group"
# (The desktop shortcut waits for a box the user ticks in the wizard; a
# quiet run has no one to tick it.)

# The uninstall entry and App Paths.
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Veltrace'
uninstall=$("$VELTRACE_WINE" reg query "$entry" /v UninstallString 2>/dev/null | tr -d '\r' |
            sed -n 's/.*REG_SZ[[:space:]]*//p')
[ -n "$uninstall" ] || fail "no uninstall entry $entry"
"$VELTRACE_WINE" reg query "$entry" /v DisplayName >/dev/null 2>&1 || fail "the uninstall entry has no DisplayName"
"$VELTRACE_WINE" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths\veltrace.exe' >/dev/null 2>&1 ||
  fail "no App Paths entry for veltrace.exe"

# The installed programs: veltrace.exe starts from its folder on the sample
# workspace; veltrace-cli.exe renders that workspace into a picture.
(cd "$app" && exec "$VELTRACE_WINE" veltrace.exe 'Workspaces\sample.vwork' >/dev/null 2>&1 &)
wait_for_title 'pedestal.vase - Veltrace' >/dev/null || fail "the installed veltrace.exe shows no sample workspace"
sleep 3
shot 01-installed-veltrace
pkill -f 'veltrace\.exe' || true
for _ in $(seq 40); do pgrep -f 'veltrace\.exe' >/dev/null || break; sleep 0.25; done
rm -rf "$app/recovery"
(cd "$app" && "$VELTRACE_WINE" veltrace-cli.exe render 'Workspaces\sample.vwork' -o 'C:\sample.png' >/dev/null 2>&1) ||
  fail "the installed veltrace-cli.exe did not render the sample workspace"
mv "$drive_c/sample.png" "$out/02-installed-render.png"
deviation=$(convert "$out/02-installed-render.png" -colorspace Gray -format '%[fx:standard_deviation]' info:)
awk -v d="$deviation" 'BEGIN { exit !(d > 0.02) }' || fail "the rendered picture is blank (deviation $deviation)"
echo "quiet_install: $out/02-installed-render.png"

# The uninstall entry's command, quietly.
echo "quiet_install: removing with $uninstall /Q /B0"
code=0
"$VELTRACE_WINE" cmd.exe /c "$uninstall /Q /B0" >/dev/null 2>&1 || code=$?
[ "$code" = 0 ] || fail "the removal ended with code $code"
for _ in $(seq 150); do [ -e "$app" ] || break; sleep 0.1; done
[ ! -e "$app" ] || fail "$app is still there: $(ls -A "$app")"

# The deletion agent leaves its own folder to the next restart.
"$VELTRACE_WINE" wineboot.exe -r >/dev/null 2>&1 || fail "the prefix did not restart"
files_of_prefix >"$out/files-after.txt"
if ! diff "$out/files-before.txt" "$out/files-after.txt" >"$out/files-left.txt"; then
  fail "files left or changed: $(head -20 "$out/files-left.txt")"
fi
ls -d "$drive_c"/users/*/Temp/_OvnDel* 2>/dev/null && fail "the deletion agent's folder outlived the restart"
left=$(registry_of_prefix)
[ -z "$left" ] || fail "the registry still names Veltrace: $left"
echo "quiet_install: installed, started, rendered and removed without a trace"
