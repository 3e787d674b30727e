# SPDX-License-Identifier: MIT
# Programs that do not depend on where or when they were built: the paths of
# the source and build trees are kept out of them, and a Windows program
# carries no link time (which would also change its checksum).
add_compile_options(
  "$<$<COMPILE_LANGUAGE:CXX>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=;-ffile-prefix-map=${PROJECT_BINARY_DIR}/=>")
if(MINGW)
  add_link_options(LINKER:--no-insert-timestamp)
endif()
