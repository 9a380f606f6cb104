# Sourced by the command-line tests: a scratch folder removed on exit, a
# failure counter, and the checks they share.
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# expect_exit CODE COMMAND...: runs the command, keeps its output in $out.
expect_exit() {
  local expected="$1"; shift
  out="$("$@" 2>&1)"
  local code=$?
  [ "$code" -eq "$expected" ] || fail "exit $code instead of $expected: $* -- $out"
}

# finish WHAT: the closing line and the exit code of the test.
finish() {
  if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
  fi
  echo "all $1 checks passed"
  exit 0
}

# expect_usage_line GROUP: $out is one line that says what is wrong in the
# group's words and points to the group's help.
expect_usage_line() {
  local lines
  lines="$(printf '%s\n' "$out" | wc -l)"
  [ "$lines" -eq 1 ] && [[ "$out" == "veltrace-cli $1: "*" (see 'veltrace-cli $1 --help')" ]] ||
    fail "not a one-line usage error of '$1': $out"
}
