# What the scripts that drive the real veltrace.exe from outside share: the
# Wine of this machine (64-bit where 32-bit programs cannot run), the program
# folder, screenshots and waiting for a window by its title. Source it.
#
# The scripts run in a Wine prefix and on a virtual display of their own, so
# that the keyboard focus is theirs and ending their wineserver ends nothing
# else (the Windows tests may be running meanwhile).

export VELTRACE_WINEPREFIX="${VELTRACE_WINEPREFIX:-$PWD/build/wineprefix-e2e}"
export VELTRACE_WINEPREFIX64="${VELTRACE_WINEPREFIX64:-$PWD/build/wineprefix-e2e64}"
export VELTRACE_XVFB_DISPLAY="${VELTRACE_XVFB_DISPLAY:-93}"
unset DISPLAY
source tools/wine-env
program_folder=build/windows/bin
if ! veltrace_can_run_32bit; then
  export VELTRACE_WINE_ARCH=win64
  source tools/wine-env
  program_folder=build/windows64/bin
fi
[ -x "$program_folder/veltrace.exe" ] || { echo "$0: $program_folder/veltrace.exe is not built" >&2; exit 1; }
command -v xdotool >/dev/null || { echo "$0: xdotool is missing (tools/bootstrap installs it)" >&2; exit 1; }

# shot NAME: the whole virtual display into $out/NAME.png.
shot() { import -window root "$out/$1.png"; echo "$(basename "$0"): $out/$1.png"; }
# A step that fails leaves a picture of the display as it was (errtrace:
# also when it fails inside a function).
set -o errtrace
trap '[ -n "${out:-}" ] && shot failed || true' ERR

# wait_for_title TITLE [SECONDS]: prints the id of the window with exactly
# this title once it exists; fails after the time (default 90 s).
wait_for_title() {
  local title="$1" seconds="${2:-90}" id=""
  for _ in $(seq "$seconds"); do
    id=$(xdotool search --name "^${title}\$" 2>/dev/null | head -1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 1
  done
  echo "$(basename "$0"): no window titled '$title' appeared" >&2
  return 1
}

# start_veltrace [ARGUMENTS...]: starts the program in its folder, in the
# background; the wineserver (and with it the program) goes when the script
# ends, and with it the recovery copy such a killed session leaves, which
# would otherwise greet the next script with a question.
start_veltrace() {
  (cd "$program_folder" && exec "$VELTRACE_WINE" veltrace.exe "$@" >/dev/null 2>&1 &)
  trap '"$VELTRACE_WINESERVER" -k >/dev/null 2>&1 || true; rm -rf "$program_folder/recovery"' EXIT
}
