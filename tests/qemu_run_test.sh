#!/bin/bash
# SPDX-License-Identifier: MIT
# Runs the cross-built blankimg under qemu-user, then the native one at the
# very time that the first stamped into its image, and requires the same
# image and the same console bytes; then the same for a refused second run.
#
#   qemu_run_test.sh NATIVE_PROGRAM PROGRAM EMULATOR...
set -euo pipefail
native=$1 program=$2
shift 2
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
[ -x "$native" ] || fail "no native program at '$native': build the test-release preset first"
export TZ=UTC0 LC_ALL=C
# A program that misreads its own layout writes on and on: a size limit
# makes that a failure at once instead of a full disk.
ulimit -f 4096
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/cross" "$scratch/native"

# Runs a program in DIR twice, keeping each run's streams and status as DIR.N.*.
two_runs() {
    local dir=$1
    shift
    for run in 1 2; do
        local status=0
        (cd "$dir" && "$@" >"$dir.$run.out" 2>"$dir.$run.err") || status=$?
        echo "$status" >"$dir.$run.status"
    done
}

two_runs "$scratch/cross" "$@" "$program"
image=$scratch/cross/BLANKIMG.ROM
[ "$(stat -c %s "$image")" -eq 524288 ] || fail "the image under qemu is not 524,288 bytes"

# The label's time and date (little-endian, at 0xA16), back to a clock time.
read -r time date < <(od -An -tu2 --endian=little -j $((0xA16)) -N 4 "$image")
when=$(printf '%04d-%02d-%02d %02d:%02d:%02d' $((1980 + (date >> 9))) $(((date >> 5) & 15)) \
    $((date & 31)) $((time >> 11)) $(((time >> 5) & 63)) $(((time & 31) * 2)))
echo "stamp of the run under qemu: $when"
two_runs "$scratch/native" faketime "$when" "$native"

cmp "$image" "$scratch/native/BLANKIMG.ROM" || fail "the images differ"
for file in 1.out 1.err 1.status 2.out 2.err 2.status; do
    cmp "$scratch/cross.$file" "$scratch/native.$file" || fail "the runs' $file differ"
done
[ "$(cat "$scratch/cross.1.status")" = 0 ] || fail "the first run failed"
[ "$(cat "$scratch/cross.2.status")" = 1 ] || fail "the second run was not refused"
