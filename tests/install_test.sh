#!/bin/bash
# SPDX-License-Identifier: MIT
# Installs and packages a finished build the ways a user would, and checks
# what arrives: the files, their places, and that the installed program makes
# the same image as the one in the build tree.
#
#   install_test.sh install  BUILD_DIR FAKETIME_LIBRARY SOURCE_DIR
#   install_test.sh deb      BUILD_DIR FAKETIME_LIBRARY SOURCE_DIR
#   install_test.sh lintian  BUILD_DIR
#   install_test.sh debarch  BUILD_DIR ARCHITECTURE
#   install_test.sh harden   PROGRAM CF_PROTECTION
#   install_test.sh source   BUILD_DIR
#   install_test.sh zip      BUILD_DIR SOURCE_DIR STRIP OBJDUMP VERSION
#   install_test.sh man      PAGE PROGRAM
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

# The files every Linux install holds under PREFIX: program, manual, licence
# and changelog.
expect_linux_files() {
    local prefix=$1 source=$2
    [ -x "$prefix/bin/blankimg" ] || fail "bin/blankimg is not executable"
    gzip -t "$prefix/share/man/man1/blankimg.1.gz" || fail "the manual is no gzip file"
    gzip -t "$prefix/share/doc/blankimg/changelog.gz" || fail "the changelog is no gzip file"
    local copyright=$prefix/share/doc/blankimg/copyright
    expect_file "$copyright"
    head -1 "$copyright" | grep -q '^Format: .*copyright-format/1.0/$' ||
        fail "the copyright file is not in Debian's format"
    # The licence's every line, indented, is in it.
    while IFS= read -r line; do
        [ -z "$line" ] && continue
        grep -qxF -- " $line" "$copyright" || fail "the copyright file lacks: $line"
    done < <(tail -n +5 "$source/LICENSE")
}

# A build tree's packages, made with cpack as a user would, in $scratch/package.
cpack_into_scratch() {
    (cd "$1" && cpack -B "$scratch/package" >/dev/null)
}

case $1 in
install)
    build=$2
    # A staged install, as packagers make them, and a direct one.
    DESTDIR="$scratch/stage" cmake --install "$build" --prefix /opt/blankimg >/dev/null
    expect_linux_files "$scratch/stage/opt/blankimg" "$4"
    cmake --install "$build" --prefix "$scratch/prefix" >/dev/null
    same_image_as_build "$scratch/prefix/bin/blankimg" "$build" "$3"
    ;;
deb)
    build=$2 source=$4
    cpack_into_scratch "$build"
    deb=$(echo "$scratch"/package/blankimg_*.deb)
    expect_file "$deb"
    [ "$(dpkg-deb -f "$deb" Package)" = blankimg ] || fail "package name"
    dpkg-deb -f "$deb" Depends | grep -q libc6 || fail "no dependency on libc6"
    dpkg -x "$deb" "$scratch/root"
    expect_linux_files "$scratch/root/usr" "$source"
    same_image_as_build "$scratch/root/usr/bin/blankimg" "$build" "$3"
    ;;
debarch)
    # A package for another CPU: its architecture, and a C library to depend on.
    build=$2 architecture=$3
    cpack_into_scratch "$build"
    deb=$(echo "$scratch"/package/blankimg_*_"$architecture".deb)
    expect_file "$deb"
    info=$(dpkg-deb --info "$deb")
    echo "$info"
    grep -qx " Architecture: $architecture" <<<"$info" || fail "not a package for $architecture"
    grep -Eq '^ Depends: libc6 \(>= [0-9]+\.[0-9]+\)$' <<<"$info" || fail "no dependency on libc6"
    ;;
lintian)
    # Clean but for the one tag a package without a published maintainer
    # address must carry.
    build=$2
    cpack_into_scratch "$build"
    allowed=()
    if [ "$(dpkg-deb -f "$scratch"/package/blankimg_*.deb Maintainer)" = "blankimg developers" ]; then
        allowed=(--suppress-tags malformed-contact)
    fi
    lintian --fail-on error,warning,info --display-info "${allowed[@]}" "$scratch"/package/blankimg_*.deb ||
        fail "lintian found the tags above"
    ;;
harden)
    # Debian 12's C start files carry no CET marking, so the linker drops
    # control-flow protection whatever the flags: where the build asks for it
    # (CF_PROTECTION is ON), it is not checked.
    program=$2 cf_protection=$3
    options=()
    [ "$cf_protection" = ON ] && options=(--nocfprotection)
    hardening-check "${options[@]}" "$program" || fail "$program is not hardened"
    ;;
source)
    build=$2
    (cd "$build" && cpack --config CPackSourceConfig.cmake -B "$scratch/package" >/dev/null)
    listing=$(tar -tzf "$scratch"/package/blankimg-*-Source.tar.gz | sed 's,^[^/]*/,,')
    for wanted in CMakeLists.txt LICENSE NEWS README.md app/main.cpp image/builder.cpp; do
        grep -qxF "$wanted" <<<"$listing" || fail "the source package lacks $wanted"
    done
    ! grep -E '^(build/|\.git/)|\.(deb|exe|zip|ROM)$' <<<"$listing" ||
        fail "the source package holds what is no source"
    ;;
zip)
    build=$2 source=$3 strip=$4 objdump=$5 version=$6
    cpack_into_scratch "$build"
    zip=$(echo "$scratch"/package/blankimg-*.zip)
    expect_file "$zip"
    (mkdir "$scratch/unpacked" && cd "$scratch/unpacked" && cmake -E tar xf "$zip")
    folder=$(echo "$scratch"/unpacked/blankimg-*)
    [ "$(ls "$folder")" = "$(printf 'LICENSE.txt\nREADME.txt\nblankimg.exe')" ] ||
        fail "the zip holds $(ls "$folder" | tr '\n' ' ')"
    # Windows line ends, and the licence word for word.
    for text in LICENSE.txt README.txt; do
        ! grep -q $'[^\r]$' "$folder/$text" || fail "$text has lines without CR LF"
    done
    cmp <(tr -d '\r' <"$folder/LICENSE.txt") "$source/LICENSE" || fail "LICENSE.txt differs"
    grep -q "chcp 932" "$folder/README.txt" || fail "README.txt does not say chcp 932"
    grep -q "^blankimg $version for Windows" "$folder/README.txt" || fail "README.txt names no version"
    # The package holds the program stripped, which stamps it with the time
    # that cpack gives its packages.
    SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$source" log -1 --format=%ct)} \
        "$strip" -o "$scratch/blankimg.exe" "$build/blankimg.exe"
    cmp "$folder/blankimg.exe" "$scratch/blankimg.exe" || fail "blankimg.exe is not the one built"
    # Statically linked: nothing to ship beside it.
    dlls=$("$objdump" -p "$folder/blankimg.exe" | awk '/DLL Name:/ { print $3 }' | sort | tr '\n' ' ')
    [ "$dlls" = "KERNEL32.dll msvcrt.dll " ] || fail "blankimg.exe needs $dlls"
    # Its version resource names the project's version.
    strings -el "$folder/blankimg.exe" | grep -qx "$version" || fail "no version resource of $version"
    strings -el "$folder/blankimg.exe" | grep -qx "FileVersion" || fail "no FileVersion"
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
