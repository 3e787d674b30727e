# SPDX-License-Identifier: MIT
# Read by cpack each time it runs, before it makes the packages.

# Packages made without SOURCE_DATE_EPOCH would carry the time of packing;
# the time of the last commit makes two builds of one commit identical.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND git -C "${CPACK_BLANKIMG_SOURCE_DIR}" log -1 --format=%ct
    OUTPUT_VARIABLE commit_time OUTPUT_STRIP_TRAILING_WHITESPACE
    RESULT_VARIABLE git_failed ERROR_QUIET)
  if(NOT git_failed AND commit_time MATCHES "^[0-9]+$")
    set(ENV{SOURCE_DATE_EPOCH} "${commit_time}")
  endif()
endif()

# dpkg-shlibdeps knows only the libraries of the machine's own architecture:
# for another CPU the C library dependency is read from the binary, as the
# newest GLIBC symbol version that it asks for.
if(CPACK_BLANKIMG_CROSS_PROGRAM AND CPACK_GENERATOR STREQUAL "DEB")
  execute_process(COMMAND "${CPACK_BLANKIMG_OBJDUMP}" -p "${CPACK_BLANKIMG_CROSS_PROGRAM}"
    OUTPUT_VARIABLE headers COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL "GLIBC_[0-9]+\\.[0-9]+" versions "${headers}")
  set(newest 0)
  foreach(version IN LISTS versions)
    string(REPLACE "GLIBC_" "" version "${version}")
    if(version VERSION_GREATER newest)
      set(newest ${version})
    endif()
  endforeach()
  if(newest VERSION_EQUAL 0)
    message(FATAL_ERROR "${CPACK_BLANKIMG_CROSS_PROGRAM} asks for no GLIBC version")
  endif()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6 (>= ${newest})")
endif()
