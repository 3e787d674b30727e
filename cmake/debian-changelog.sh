#!/bin/sh
# SPDX-License-Identifier: MIT
# Writes the Debian changelog of the package from NEWS: each release there
# becomes one entry, dated with the release's own date, so the package does
# not change with the day it is built.
#
#   debian-changelog.sh NEWS PACKAGE MAINTAINER OUTPUT
set -eu
news=$1 package=$2 maintainer=$3 output=$4
awk -v package="$package" -v maintainer="$maintainer" '
    function close_entry() {
        if (version == "") return
        cmd = "date -u -R -d " date
        cmd | getline stamp
        close(cmd)
        print ""
        print " -- " maintainer "  " stamp
        print ""
    }
    /^[0-9][0-9.]* \([0-9-]+\)$/ {
        close_entry()
        version = $1
        date = substr($2, 2, length($2) - 2)
        print package " (" version ") unstable; urgency=medium"
        print ""
        next
    }
    version == "" { next }
    /^- / { print "  * " substr($0, 3); next }
    /^  / { print "    " substr($0, 3); next }
    END { close_entry() }
' "$news" | sed '$d' >"$output"
