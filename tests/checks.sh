# Sourced by the shell tests: counted checks, each printing ok or FAILED, and the closing line
# "name: N passed, N failed" that gives the script's exit code.
passed=0
failed=0
check() { # check <description> <command...>
  local what="$1"; shift
  if "$@"; then echo "ok: $what"; passed=$((passed + 1)); else echo "FAILED: $what"; failed=$((failed + 1)); fi
}
finish() { # finish <name>
  echo "$1: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}
