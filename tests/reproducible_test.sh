#!/bin/bash
# SPDX-License-Identifier: MIT
# Builds the .deb and the Windows zip twice, from two copies of the sources
# at different paths, at different times and under different umasks, with
# no SOURCE_DATE_EPOCH given, and requires identical packages.
#
#   reproducible_test.sh SOURCE_DIR
set -euo pipefail
source=$1
if ! git -C "$source" rev-parse --git-dir >/dev/null 2>&1; then
    echo "not a git checkout: the packages' time comes from the last commit" >&2
    exit 77  # skipped
fi
unset SOURCE_DATE_EPOCH
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# The sources as they stand, uncommitted changes included, with their history.
copy_sources() {
    local to=$1
    mkdir -p "$to"
    (cd "$source" && git ls-files -z -co --exclude-standard | xargs -0 cp -a --parents -t "$to")
    cp -a "$source/.git" "$to/.git"
}

# Builds both packages in copy DIR under UMASK, and puts them in DIR.packages.
build_packages() {
    local dir=$1 mask=$2
    (
        umask "$mask"
        cd "$dir"
        for preset in release windows; do
            cmake --workflow --preset "$preset" >/dev/null
            (cd "build/$preset" && cpack -B "$dir.packages" >/dev/null)
        done
    )
}

copy_sources "$scratch/one/blankimg"
copy_sources "$scratch/another/place/src"
build_packages "$scratch/one/blankimg" 022
sleep 2
build_packages "$scratch/another/place/src" 002

status=0
for package in "$scratch"/one/blankimg.packages/*.{deb,zip}; do
    name=$(basename "$package")
    if ! cmp "$package" "$scratch/another/place/src.packages/$name"; then
        echo "FAIL: $name differs between the two builds" >&2
        status=1
    fi
done
exit $status
