# SPDX-License-Identifier: MIT
# Run by cpack after it has made the packages. The three members of a .deb
# are stored with the modes their files got from the packer's umask; they are
# stored again with ar's fixed ones, so the package does not depend on it.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(NOT package MATCHES "\\.deb$")
    continue()
  endif()
  set(work "${package}.members")
  file(REMOVE_RECURSE "${work}")
  file(MAKE_DIRECTORY "${work}")
  execute_process(COMMAND ar t "${package}" WORKING_DIRECTORY "${work}"
    OUTPUT_VARIABLE members OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  string(REPLACE "\n" ";" members "${members}")
  execute_process(COMMAND ar x "${package}" WORKING_DIRECTORY "${work}" COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE "${package}")
  # D: deterministic, with owner 0, mode 644 and time 0 for every member.
  execute_process(COMMAND ar rcD "${package}" ${members} WORKING_DIRECTORY "${work}"
    COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE "${work}")
endforeach()
