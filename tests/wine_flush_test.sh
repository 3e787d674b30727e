#!/bin/bash
# SPDX-License-Identifier: MIT
# Runs blankimg.exe under Wine, traced by strace, and checks that the image
# is flushed to storage: Wine turns _commit into an fsync of the file.
#
#   wine_flush_test.sh STRACE PROGRAM EMULATOR...
set -euo pipefail
strace=$1 program=$2
shift 2
if [ -z "$strace" ]; then
    echo "strace is not installed" >&2
    exit 77  # skipped
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"
mkdir work
(cd work && "$strace" -f -y -e trace=fsync,fdatasync -o "$scratch/trace" "$@" "$program" >/dev/null)
[ "$(stat -c %s work/BLANKIMG.ROM)" -eq 524288 ] || { echo "FAIL: no whole image" >&2; exit 1; }
grep -Eq '(fsync|fdatasync)\([0-9]+<[^>]*/BLANKIMG\.ROM>\) += 0' "$scratch/trace" || {
    echo "FAIL: the image was never flushed to storage; the trace:" >&2
    cat "$scratch/trace" >&2
    exit 1
}
