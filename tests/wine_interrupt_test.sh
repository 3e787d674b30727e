#!/bin/bash
# SPDX-License-Identifier: MIT
# Runs blankimg.exe under Wine and interrupts it in the middle of the image:
# strace raises SIGINT at one of its writes, which Wine turns into Ctrl+C for
# the program's console handler. The file must go, nothing more be said, and
# the run end with Ctrl+C's status, 0xC000013A, of which Wine passes on the
# low byte.
#
#   wine_interrupt_test.sh STRACE PROGRAM EMULATOR...
set -euo pipefail
strace=$1 program=$2
shift 2
if [ -z "$strace" ]; then
    echo "strace is not installed" >&2
    exit 77  # skipped
fi
interrupted_status=$((0xC000013A & 0xFF))
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/work"
cd "$scratch/work"
status=0
"$strace" -f -qq -o "$scratch/trace" -P "$scratch/work/BLANKIMG.ROM" \
    -e inject=write:signal=INT:when=500 "$@" "$program" >"$scratch/out" 2>"$scratch/err" ||
    status=$?
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
[ "$status" -eq "$interrupted_status" ] || fail "ended with status $status"
[ -z "$(ls -A)" ] || fail "left $(ls -A)"
[ ! -s "$scratch/err" ] || fail "said on standard error: $(cat "$scratch/err")"
grep -q "BLANKIMG.ROM" "$scratch/out" || fail "the start message is missing"
[ "$(wc -l <"$scratch/out")" -eq 4 ] || fail "said more than the banner and the start message"
