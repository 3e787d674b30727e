# SPDX-License-Identifier: MIT
# What the toolchain files for Linux on other CPUs share: Debian's cross
# compilers for `blankimg_triplet`, its libraries under /usr/TRIPLET, and
# qemu-user to run what they build, tests included.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_C_COMPILER ${blankimg_triplet}-gcc)
set(CMAKE_CXX_COMPILER ${blankimg_triplet}-g++)
set(CMAKE_LIBRARY_ARCHITECTURE ${blankimg_triplet})

set(CMAKE_FIND_ROOT_PATH /usr/${blankimg_triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# -L: the target's dynamic loader and C library come from the cross tree.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/${blankimg_qemu} -L /usr/${blankimg_triplet})
