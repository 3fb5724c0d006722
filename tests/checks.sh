# shellcheck shell=bash
# Sourced by the shell tests: counted checks, each printing ok or FAILED, checks that cannot run
# on this machine, each printing skipped and why, and the closing line
# "name: N passed, N failed, N skipped" that gives the script's exit code.
passed=0
failed=0
skipped=0
check() { # check <description> <command...>
  local what="$1"; shift
  if "$@"; then echo "ok: $what"; passed=$((passed + 1)); else echo "FAILED: $what"; failed=$((failed + 1)); fi
}
skip() { echo "skipped: $*"; skipped=$((skipped + 1)); } # skip <what, and why>
finish() { # finish <name>
  echo "$1: $passed passed, $failed failed, $skipped skipped"
  [ "$failed" -eq 0 ]
}
