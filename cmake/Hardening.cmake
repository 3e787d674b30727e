# SPDX-License-Identifier: MIT
# The hardening Debian gives its own packages, for the Linux builds: stack
# protector, fortified C library calls, read-only relocations bound at start,
# position-independent executables, and control-flow protection on x86.
option(BLANKIMG_HARDEN "Harden the Linux build as Debian hardens its packages" ON)
if(BLANKIMG_HARDEN AND NOT WIN32)
  include(CheckPIESupported)
  check_pie_supported()
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
  add_compile_options(-fstack-protector-strong)
  # Fortified calls need the optimiser, which the Debug build goes without.
  add_compile_options($<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
  add_link_options(LINKER:-z,relro LINKER:-z,now)
  set(blankimg_cf_protection OFF)
  if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|i[3-6]86)$")
    add_compile_options(-fcf-protection)
    set(blankimg_cf_protection ON)
  endif()
endif()
