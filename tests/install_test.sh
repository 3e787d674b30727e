#!/bin/bash
# Installs and packages a finished build the ways a user would, and checks
# what arrives: the files, their places, and that the installed program makes
# the same image as the one in the build tree.
#
#   install_test.sh install BUILD_DIR FAKETIME_LIBRARY
#   install_test.sh deb     BUILD_DIR FAKETIME_LIBRARY
#   install_test.sh zip     BUILD_DIR SOURCE_DIR STRIP OBJDUMP
#   install_test.sh man     PAGE PROGRAM
set -euo pipefail

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# The image PROGRAM writes in a fresh directory at a fixed time, in $scratch/NAME.
image_of() {
    local program=$1 name=$2 faketime_library=$3
    mkdir "$scratch/$name.dir"
    (cd "$scratch/$name.dir" &&
        ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0" \
            LD_PRELOAD="$faketime_library" FAKETIME="2002-12-10 13:49:16" TZ=UTC0 \
            "$program" >/dev/null) || fail "$program ended with status $?"
    mv "$scratch/$name.dir/BLANKIMG.ROM" "$scratch/$name"
    [ "$(stat -c %s "$scratch/$name")" -eq 524288 ] || fail "$name is not 524,288 bytes"
}

same_image_as_build() {
    local installed=$1 build=$2 faketime_library=$3
    if [ -z "$faketime_library" ]; then
        echo "libfaketime is not installed: the images cannot be compared" >&2
        exit 77  # skipped
    fi
    image_of "$build/blankimg" built "$faketime_library"
    image_of "$installed" installed "$faketime_library"
    cmp "$scratch/built" "$scratch/installed" || fail "$installed makes another image"
}

expect_file() {
    [ -f "$1" ] || fail "missing $1"
}

case $1 in
install)
    build=$2
    # A staged install, as packagers make them, and a direct one.
    DESTDIR="$scratch/stage" cmake --install "$build" --prefix /opt/blankimg >/dev/null
    expect_file "$scratch/stage/opt/blankimg/bin/blankimg"
    expect_file "$scratch/stage/opt/blankimg/share/man/man1/blankimg.1"
    cmake --install "$build" --prefix "$scratch/prefix" >/dev/null
    expect_file "$scratch/prefix/share/man/man1/blankimg.1"
    [ -x "$scratch/prefix/bin/blankimg" ] || fail "bin/blankimg is not executable"
    same_image_as_build "$scratch/prefix/bin/blankimg" "$build" "$3"
    ;;
deb)
    build=$2
    (cd "$build" && cpack -G DEB -B "$scratch/package" >/dev/null)
    deb=$(echo "$scratch"/package/blankimg_*.deb)
    expect_file "$deb"
    [ "$(dpkg-deb -f "$deb" Package)" = blankimg ] || fail "package name"
    dpkg-deb -f "$deb" Depends | grep -q libc6 || fail "no dependency on libc6"
    dpkg -x "$deb" "$scratch/root"
    expect_file "$scratch/root/usr/share/man/man1/blankimg.1"
    same_image_as_build "$scratch/root/usr/bin/blankimg" "$build" "$3"
    ;;
zip)
    build=$2 source=$3 strip=$4 objdump=$5
    (cd "$build" && cpack -G ZIP -B "$scratch/package" >/dev/null)
    zip=$(echo "$scratch"/package/blankimg-*.zip)
    expect_file "$zip"
    (mkdir "$scratch/unpacked" && cd "$scratch/unpacked" && cmake -E tar xf "$zip")
    folder=$(echo "$scratch"/unpacked/blankimg-*)
    [ "$(ls "$folder")" = "$(printf 'README.md\nblankimg.exe')" ] ||
        fail "the zip holds $(ls "$folder" | tr '\n' ' ')"
    cmp "$folder/README.md" "$source/README.md" || fail "README.md differs"
    # The package holds the program stripped.
    "$strip" -o "$scratch/blankimg.exe" "$build/blankimg.exe"
    cmp "$folder/blankimg.exe" "$scratch/blankimg.exe" || fail "blankimg.exe is not the one built"
    # Statically linked: nothing to ship beside it.
    dlls=$("$objdump" -p "$folder/blankimg.exe" | awk '/DLL Name:/ { print $3 }' | sort | tr '\n' ' ')
    [ "$dlls" = "KERNEL32.dll msvcrt.dll " ] || fail "blankimg.exe needs $dlls"
    ;;
man)
    page=$2 program=$3
    warnings=$(MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "the man page renders with warnings: $warnings"
    # Every line the program can print is in the page, in UTF-8.
    rendered=$(MANWIDTH=200 man -E UTF-8 -l "$page" 2>/dev/null | sed 's/^ *//')
    mkdir "$scratch/run" && cd "$scratch/run"
    "$program" >"$scratch/first" 2>/dev/null || fail "the first run failed"
    ! "$program" >"$scratch/second" 2>/dev/null || fail "the second run did not refuse"
    texts=$(cat "$scratch/first" "$scratch/second" | iconv -f CP932 -t UTF-8 | sort -u)
    while IFS= read -r line; do
        [ -z "$line" ] && continue
        grep -qxF -- "$line" <<<"$rendered" || fail "the man page lacks: $line"
    done <<<"$texts"
    ;;
*)
    fail "unknown check $1"
    ;;
esac
