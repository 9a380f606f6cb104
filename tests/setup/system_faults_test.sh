#!/usr/bin/env bash
# setup.exe against faults only the machine around Wine can make: a change of
# time zone between an installation and the next one over it, and a drive
# that fills up in the middle of the file phase (a small tmpfs mapped as a
# Wine drive). Each runs real setup.exe installers made with veltrace-cli.exe.
#
#   system_faults_test.sh time-zone|disk-full WINE_RUNNER SETUP_EXE CLI_EXE
# WINE_RUNNER is the build's cross-compiling emulator (tools/wine-run or
# tools/wine64-run). Exits 77 (skipped) when the machine cannot make the
# fault, with the reason.
set -euo pipefail
mode="$1" wine_runner="$2" setup_program="$3" cli="$4"
source "$(dirname "$wine_runner")/wine-env"
[ "$(basename "$wine_runner")" = wine64-run ] && { export VELTRACE_WINE_ARCH=win64; source "$(dirname "$wine_runner")/wine-env"; }
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe="
drive_c="$WINEPREFIX/drive_c"
work="$(mktemp -d "${TMPDIR:-/tmp}/veltrace-faults.XXXXXX")"
cleanup_steps=("rm -rf '$work'")
cleanup() { for step in "${cleanup_steps[@]}"; do eval "$step" || true; done; }
trap cleanup EXIT

failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }
expect_equal() { [ "$2" = "$3" ] || fail "$1: expected '$3', got '$2'"; }

# run_setup TZ ARGS...: setup.exe's exit code, with the time zone TZ.
run_setup() {
  local zone="$1"; shift
  local code=0
  TZ="$zone" "$wine_runner" "$@" >/dev/null 2>&1 || code=$?
  echo "$code"
}

# make_installer NAME SCRIPT PAYLOAD: $work/NAME.exe, setup.exe with the
# package of PAYLOAD described by SCRIPT appended.
make_installer() {
  "$wine_runner" "$cli" package build "$2" "$3" -o "$work/$1.ovz" >/dev/null
  "$wine_runner" "$cli" package attach "$setup_program" "$work/$1.ovz" -o "$work/$1.exe" >/dev/null
  [ -f "$work/$1.exe" ] || { echo "system_faults: $1.exe was not made" >&2; exit 1; }
}

# The state the saved Setup.ini gives a file (the field after its target).
saved_state() { tr -d '\r' <"$1" | sed -n "s/^File=[^=]*=$2|\([^|]*\)|.*/\1/p"; }

# script APP_FOLDER FILE_LINES: a script installing into APP_FOLDER.
script() {
  printf '%s\r\n' "Version=2.66.1387" "[Install]" "Options=0" "Ignore=0" "[Symbols]" \
    "AppFolder=1|255|$1" "AppTitle=2|255|VeltraceFaultTest" "AppVersion=3|255|1.0" \
    "TempDir=18|255|(runtime)" "WinDir=19|255|(runtime)" "[Files]" "InstallDir=<AppFolder>"
  printf '%s\r\n' "${@:2}"
}

# Fails unless the saved Setup.ini's installation Timestamp (local time) was
# taken in ZONE:
# proof that the run really had that time zone.
expect_zone() {
  local zone="$1" saved="$2" before="$3" after
  after=$(TZ="$zone" date '+%Y-%m-%d %H')
  local stamp
  stamp=$(tr -d '\r' <"$saved" |
    awk '/^\[/ { install = $0 == "[Install]" } install && sub(/^Timestamp=/, "") { print substr($0, 1, 13) }')
  [ "$stamp" = "$before" ] || [ "$stamp" = "$after" ] || fail "the run in $zone stamped '$stamp'"
}

time_zone() {
  # Installed in New York, checked in Tokyo: fourteen hours apart, so a time
  # read as local anywhere would turn "equal" into "newer" or "older".
  local app='C:\faults\tz' app_unix="$drive_c/faults/tz" base=1700000000
  rm -rf "$drive_c/faults"
  cleanup_steps+=("rm -rf '$drive_c/faults'")
  local line='File=tool.dat|4|3|2|0|0=tool.dat|0|-1|247|0||'
  script "$app" "$line" >"$work/tz.ini"
  make_payload() { mkdir -p "$work/$1"; printf '%s' "$2" >"$work/$1/tool.dat"; touch -d "@$3" "$work/$1/tool.dat"; }
  make_payload same "same" "$base"
  make_payload newer "newr" "$((base + 3600))"
  make_payload older "oldr" "$((base - 3600))"
  for name in same newer older; do make_installer "tz-$name" "$work/tz.ini" "$work/$name"; done

  expect_equal "first installation" "$(run_setup America/New_York "$work/tz-same.exe" /Q /B0)" 0
  expect_equal "first installation, state" "$(saved_state "$app_unix/Setup.ini" tool.dat)" 1
  local before
  before=$(TZ=Asia/Tokyo date '+%Y-%m-%d %H')
  expect_equal "same time in another zone" "$(run_setup Asia/Tokyo "$work/tz-same.exe" /Q /B0)" 0
  expect_zone Asia/Tokyo "$app_unix/Setup.ini" "$before"
  expect_equal "same time in another zone, state" "$(saved_state "$app_unix/Setup.ini" tool.dat)" 3
  expect_equal "an hour older in another zone" "$(run_setup Asia/Tokyo "$work/tz-older.exe" /Q /B0)" 0
  expect_equal "an hour older in another zone, state" "$(saved_state "$app_unix/Setup.ini" tool.dat)" 3
  expect_equal "an hour older in another zone, file" "$(cat "$app_unix/tool.dat")" same
  expect_equal "an hour newer in another zone" "$(run_setup Pacific/Honolulu "$work/tz-newer.exe" /Q /B0)" 0
  expect_equal "an hour newer in another zone, state" "$(saved_state "$app_unix/Setup.ini" tool.dat)" 2
  expect_equal "an hour newer in another zone, file" "$(cat "$app_unix/tool.dat")" newr
}

disk_full() {
  # A drive with room for setup.exe's copy and a little more: the large file
  # in the middle of the package cannot be written.
  local mount_point="$work/small-drive" letter
  mkdir -p "$mount_point"
  local setup_size
  setup_size=$(stat -c %s "$setup_program")
  local drive_kib=$(( (setup_size + 1024 * 1024) / 1024 ))
  if ! mount -t tmpfs -o "size=${drive_kib}k" veltrace-faults "$mount_point" 2>"$work/mount.err"; then
    echo "system_faults: skipped, a small drive cannot be mounted here: $(cat "$work/mount.err")"
    exit 77
  fi
  cleanup_steps=("umount '$mount_point'" "${cleanup_steps[@]}")
  for letter in s t u v w x y; do [ -e "$WINEPREFIX/dosdevices/$letter:" ] || break; done
  ln -s "$mount_point" "$WINEPREFIX/dosdevices/$letter:"
  cleanup_steps=("rm -f '$WINEPREFIX/dosdevices/$letter:'" "${cleanup_steps[@]}")

  mkdir -p "$work/payload"
  printf 'first' >"$work/payload/first.txt"
  head -c $((2 * 1024 * 1024)) /dev/urandom >"$work/payload/large.bin"
  printf 'last' >"$work/payload/last.txt"
  local app="${letter^^}:\\App"
  script "$app" 'File=first.txt|5|3|1|0|0=first.txt|0|-1|247|0||' \
    "File=large.bin|$((2 * 1024 * 1024))|3|1|0|0=large.bin|0|-1|247|0||" \
    'File=last.txt|4|3|1|0|0=last.txt|0|-1|247|0||' >"$work/full.ini"
  make_installer full "$work/full.ini" "$work/payload"

  expect_equal "installation onto a full drive" "$(run_setup UTC "$work/full.exe" /Q /B0)" 5
  local app_unix="$mount_point/App"
  if [ -f "$app_unix/Setup.ini" ]; then
    expect_equal "the file that did not fit, state" "$(saved_state "$app_unix/Setup.ini" large.bin)" -3
    expect_equal "the file before it, state" "$(saved_state "$app_unix/Setup.ini" first.txt)" 1
    expect_equal "the file after it, state" "$(saved_state "$app_unix/Setup.ini" last.txt)" 0
  else
    fail "no Setup.ini was saved for the partial installation"
  fi
  [ -e "$app_unix/last.txt" ] && fail "the file phase went on after the drive was full"
  ls "$app_unix" | grep -q '\$\$\$' && fail "a temporary file was left: $(ls "$app_unix")"

  expect_equal "removal of the partial installation" \
    "$(run_setup UTC "$app_unix/Setup.exe" /remove /Q /B0)" 0
  for _ in $(seq 120); do [ -e "$app_unix" ] || break; sleep 0.1; done
  [ -e "$app_unix" ] && fail "removal left: $(ls -A "$app_unix")"
  [ -z "$(ls -A "$mount_point")" ] || fail "the drive still holds: $(ls -A "$mount_point")"
}

case "$mode" in
  time-zone) time_zone ;;
  disk-full) disk_full ;;
  *) echo "system_faults: unknown case $mode" >&2; exit 2 ;;
esac
[ "$failures" -eq 0 ] || exit 1
echo "system_faults: $mode passed"
