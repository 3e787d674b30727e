#!/bin/bash
# SPDX-License-Identifier: MIT
# Runs blankimg.exe under Wine, traced by strace, in a fresh directory.
#
#   wine_test.sh flush     STRACE PROGRAM EMULATOR...
#   wine_test.sh interrupt STRACE PROGRAM EMULATOR...
#
# flush: the image must be flushed to storage; Wine turns _commit into an
# fsync of the file.
# interrupt: strace raises SIGINT at the writes from the middle of the image
# on, which Wine turns into Ctrl+C for the program's console handler, and
# slows them, since that handler starts on a thread of its own while the
# program goes on. The file must go, nothing more be said, and the run end
# with Ctrl+C's status, 0xC000013A, of which Wine passes on the low byte.
set -euo pipefail
check=$1 strace=$2 program=$3
shift 3
if [ -z "$strace" ]; then
    echo "strace is not installed" >&2
    exit 77  # skipped
fi
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/work"
cd "$scratch/work"

case $check in
flush)
    "$strace" -f -y -e trace=fsync,fdatasync -o "$scratch/trace" "$@" "$program" >/dev/null
    [ "$(stat -c %s BLANKIMG.ROM)" -eq 524288 ] || fail "no whole image"
    grep -Eq '(fsync|fdatasync)\([0-9]+<[^>]*/BLANKIMG\.ROM>\) += 0' "$scratch/trace" || {
        cat "$scratch/trace" >&2
        fail "the image was never flushed to storage; the trace is above"
    }
    ;;
interrupt)
    interrupted_status=$((0xC000013A & 0xFF))
    status=0
    "$strace" -f -qq -o "$scratch/trace" -P "$scratch/work/BLANKIMG.ROM" \
        -e inject=write:signal=INT:delay_exit=10000:when=500+ "$@" "$program" >"$scratch/out" 2>"$scratch/err" ||
        status=$?
    [ "$status" -eq "$interrupted_status" ] || fail "ended with status $status"
    [ -z "$(ls -A)" ] || fail "left $(ls -A)"
    [ ! -s "$scratch/err" ] || fail "said on standard error: $(cat "$scratch/err")"
    grep -q "BLANKIMG.ROM" "$scratch/out" || fail "the start message is missing"
    [ "$(wc -l <"$scratch/out")" -eq 4 ] || fail "said more than the banner and the start message"
    ;;
*)
    fail "unknown check $check"
    ;;
esac
