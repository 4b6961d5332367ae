# Hardened binaries, as Debian builds its packages: on Linux a stack protector, fortified calls
# of the C library (where the code is optimised, which they need), position-independent
# executables and full RELRO with immediate binding; on Windows address-space layout
# randomisation (dynamic base, high-entropy addresses) and data-execution prevention. The
# package check verifies each on the built files.
option(MX_HARDEN "Build hardened programs and libraries" ON)
set(MX_HARDENING_C_FLAGS "")
if(MX_HARDEN)
  if(WIN32)
    add_link_options(-Wl,--dynamicbase -Wl,--high-entropy-va -Wl,--nxcompat)
  else()
    set(MX_HARDENING_C_FLAGS "-fstack-protector-strong -fstack-clash-protection -D_FORTIFY_SOURCE=2")
    add_compile_options(-fstack-protector-strong -fstack-clash-protection)
    # The sanitizer presets compile without optimisation, which the fortified calls refuse.
    add_compile_definitions($<$<NOT:$<CONFIG:Debug>>:_FORTIFY_SOURCE=2>)
    set(CMAKE_POSITION_INDEPENDENT_CODE ON)
    include(CheckPIESupported)
    check_pie_supported()
    add_link_options(-Wl,-z,relro -Wl,-z,now)
  endif()
endif()
