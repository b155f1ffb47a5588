#!/usr/bin/env bash
# The Windows avl-demo under Wine with its keys from a pipe and its output
# to a pipe (no console at all): it reads the keys from the pipe, and the
# end of the pipe ends it as Esc does, with status 0.
#
#   piped_keys.sh WINE_RUN AVL_DEMO_EXE
set -euo pipefail
status=0
output=$(printf 'x123' | "$1" "$2") || status=$?
[ "$status" = 0 ] || { echo "FAIL: exit status $status at the end of the keys"; exit 1; }
grep -qF "L rotation at 1" <<<"$output" || { echo "FAIL: no rotation in: $output"; exit 1; }
echo "PASS: keys from a pipe, ended by its end"
