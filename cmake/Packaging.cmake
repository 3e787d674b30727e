# SPDX-License-Identifier: MIT
# What is installed, and the packages made of it: a .deb that passes
# Debian's checks on Linux, a zip for Windows users, and a source archive.
# Each is the same, byte for byte, whoever builds it, wherever and whenever.
include(GNUInstallDirs)

# Directories get these modes whatever the umask of the person installing.
set(blankimg_dir_permissions
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${blankimg_dir_permissions})
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${blankimg_dir_permissions})

# The licence text alone, without its title and copyright line.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
string(REGEX REPLACE "^MIT License\n\nCopyright[^\n]*\n\n" "" licence_terms "${licence}")

if(WIN32)
  # A folder to unpack anywhere, written for Windows users, with Windows line ends.
  install(TARGETS blankimg RUNTIME DESTINATION .)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/README-windows.txt.in README.txt @ONLY
    NEWLINE_STYLE CRLF)
  configure_file(${PROJECT_SOURCE_DIR}/LICENSE LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${PROJECT_BINARY_DIR}/README.txt ${PROJECT_BINARY_DIR}/LICENSE.txt DESTINATION .)
else()
  install(TARGETS blankimg RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

  # The manual and the changelog are compressed as Debian ships them; -n
  # keeps the time of compression out of the file.
  set(doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/${PROJECT_NAME})
  configure_file(${PROJECT_SOURCE_DIR}/doc/blankimg.1.in blankimg.1 @ONLY)
  set(BLANKIMG_MAINTAINER "" CACHE STRING
    "Name <address> of whoever publishes the .deb; its Maintainer field and changelog sign-off")
  # Unset, the Maintainer field names no address, which Debian's checks
  # flag until a publisher sets one; the changelog's sign-off, which must
  # have the form of an address, takes one in the domain reserved for
  # addresses that reach no one.
  set(maintainer "${BLANKIMG_MAINTAINER}")
  set(changelog_signer "${BLANKIMG_MAINTAINER}")
  if(maintainer STREQUAL "")
    set(maintainer "blankimg developers")
    set(changelog_signer "blankimg developers <nobody@maintainer-unset.invalid>")
  endif()
  add_custom_command(OUTPUT blankimg.1.gz changelog changelog.gz
    COMMAND gzip -9n -c blankimg.1 > blankimg.1.gz
    COMMAND ${PROJECT_SOURCE_DIR}/cmake/debian-changelog.sh ${PROJECT_SOURCE_DIR}/NEWS
      ${PROJECT_NAME} ${changelog_signer} changelog
    COMMAND gzip -9n -c changelog > changelog.gz
    DEPENDS ${PROJECT_BINARY_DIR}/blankimg.1 ${PROJECT_SOURCE_DIR}/NEWS
      ${PROJECT_SOURCE_DIR}/cmake/debian-changelog.sh
    VERBATIM)
  add_custom_target(blankimg_docs ALL DEPENDS blankimg.1.gz changelog.gz)
  install(FILES ${PROJECT_BINARY_DIR}/blankimg.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${PROJECT_BINARY_DIR}/changelog.gz DESTINATION ${doc_dir})

  # Debian's machine-readable copyright file.
  string(REGEX REPLACE "\n\n" "\n.\n" copyright_terms "${licence_terms}")
  string(REGEX REPLACE "\n([^\n])" "\n \\1" copyright_terms "\n${copyright_terms}")
  file(WRITE ${PROJECT_BINARY_DIR}/copyright
    "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
    "Upstream-Name: ${PROJECT_NAME}\n"
    "\n"
    "Files: *\n"
    "Copyright: 2026 the blankimg authors\n"
    "License: Expat${copyright_terms}")
  install(FILES ${PROJECT_BINARY_DIR}/copyright DESTINATION ${doc_dir})
endif()

set(CPACK_PACKAGE_VENDOR "the blankimg authors")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
  "blankimg writes BLANKIMG.ROM, an empty OS-ROM image of 524,288 bytes, into\n"
  "the current directory: a FAT12 volume labelled OS-ROM with one hidden\n"
  "placeholder file, followed by 0xFF. It never overwrites an existing file\n"
  "and never leaves a partly written one.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
# The packages' time and, for other CPUs, their C library dependency are
# settled when cpack runs; see the file.
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/CPackProject.cmake)
set(CPACK_BLANKIMG_SOURCE_DIR ${PROJECT_SOURCE_DIR})

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME windows-${CMAKE_SYSTEM_PROCESSOR})
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${maintainer}")
  set(CPACK_DEBIAN_PACKAGE_SECTION otherosfs)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  # Debian's names for the CPUs that this project builds for.
  set(debian_architectures x86_64=amd64 aarch64=arm64 s390x=s390x)
  foreach(pair IN LISTS debian_architectures)
    string(REPLACE "=" ";" pair "${pair}")
    list(GET pair 0 processor)
    if(processor STREQUAL CMAKE_SYSTEM_PROCESSOR)
      list(GET pair 1 CPACK_DEBIAN_PACKAGE_ARCHITECTURE)
    endif()
  endforeach()
  if(CMAKE_CROSSCOMPILING)
    set(CPACK_BLANKIMG_CROSS_PROGRAM ${PROJECT_BINARY_DIR}/blankimg)
    set(CPACK_BLANKIMG_OBJDUMP ${CMAKE_OBJDUMP})
  else()
    # The libraries' versions come from the binary itself, through dpkg-shlibdeps.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  endif()
  set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/CPackNormalizeDeb.cmake)
endif()

# The sources alone: no build trees, packages, programs or images.
set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES
  "/\\\\.git/" "/\\\\.git$" "/build/" "\\\\.deb$" "\\\\.exe$" "\\\\.zip$" "\\\\.ROM$")
include(CPack)
