# SPDX-License-Identifier: MIT
# Cross build for IBM Z Linux (Debian's s390x), a big-endian CPU, so that a
# byte-order fault cannot hide; tests run under qemu-user.
set(CMAKE_SYSTEM_PROCESSOR s390x)
set(blankimg_triplet s390x-linux-gnu)
set(blankimg_qemu qemu-s390x)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
