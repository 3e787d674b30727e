# SPDX-License-Identifier: MIT
# Cross build for 64-bit ARM Linux (Debian's arm64); tests run under qemu-user.
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(blankimg_triplet aarch64-linux-gnu)
set(blankimg_qemu qemu-aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
