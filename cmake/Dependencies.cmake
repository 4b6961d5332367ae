# libxml2 and Lua, compiled here from Debian's own source packages, which `scripts/setup` unpacks
# (with Debian's patches applied) into MX_DEPS_SOURCE_DIR, and linked into the core statically.
# Debian has no mingw-w64 builds of them; on Linux the distribution's libxml2 drags in ICU, lzma
# and zlib, whose loading was most of the time of a short command. Both platforms now use the
# same two libraries built the same way. For the Windows build the header-only JSON and
# command-line libraries are the Debian headers, reached through a folder that holds only them so
# that the host's /usr/include never reaches the cross compiler.
#
# Sets MX_LIBXML2 and MX_LUA to the targets to link.

set(MX_DEPS_SOURCE_DIR "${PROJECT_SOURCE_DIR}/build/deps" CACHE PATH
    "Folder holding the unpacked libxml2 and Lua source packages for the Windows build")

function(mx_find_source_package var pattern)
  file(GLOB found LIST_DIRECTORIES true "${MX_DEPS_SOURCE_DIR}/${pattern}")
  list(FILTER found EXCLUDE REGEX "\\.(dsc|tar\\..*)$")
  if(NOT found)
    message(FATAL_ERROR "No ${pattern} source package in ${MX_DEPS_SOURCE_DIR}; "
                        "run scripts/setup first")
  endif()
  list(SORT found)
  list(GET found -1 dir)
  set(${var} "${dir}" PARENT_SCOPE)
endfunction()

# Lua: every library source; lua.c and luac.c are the stand-alone programs.
mx_find_source_package(lua_dir "lua5.4-*")
file(GLOB lua_sources "${lua_dir}/src/*.c")
list(FILTER lua_sources EXCLUDE REGEX "/(lua|luac)\\.c$")
add_library(mx_lua STATIC ${lua_sources})
target_include_directories(mx_lua SYSTEM PUBLIC "${lua_dir}/src")
# Debian's patched luaconf.h includes a header that Debian's own build rules generate (and that
# only its liblua5.4-dev package installs). It names the multiarch triplet for the default module
# search path; generate it here so that no system Lua package is involved.
file(STRINGS "${lua_dir}/src/luaconf.h" lua_multiarch REGEX "lua5\\.4-deb-multiarch\\.h")
if(lua_multiarch)
  set(lua_generated "${CMAKE_BINARY_DIR}/deps/lua-include")
  set(multiarch "${CMAKE_LIBRARY_ARCHITECTURE}")
  if(NOT multiarch)
    set(multiarch "${CMAKE_SYSTEM_PROCESSOR}-linux-gnu")
  endif()
  file(CONFIGURE OUTPUT "${lua_generated}/lua5.4-deb-multiarch.h"
       CONTENT "#define DEB_HOST_MULTIARCH \"${multiarch}\"\n")
  target_include_directories(mx_lua SYSTEM PUBLIC "${lua_generated}")
endif()
target_compile_definitions(mx_lua PRIVATE LUA_COMPAT_5_3)
if(NOT WIN32)
  target_compile_definitions(mx_lua PRIVATE LUA_USE_LINUX)
  target_link_libraries(mx_lua PUBLIC m)
endif()
set_target_properties(mx_lua PROPERTIES POSITION_INDEPENDENT_CODE ON)
target_compile_options(mx_lua PRIVATE -w)
set(MX_LUA mx_lua)

# libxml2: the parser, tree, XPath and serialiser. No network, compression, ICU or modules;
# UTF-8, UTF-16 and ISO-8859-x are built in, which covers every project file format; on Linux
# the C library's iconv adds the other encodings a project may declare.
mx_find_source_package(libxml2_dir "libxml2-*")
set(BUILD_SHARED_LIBS OFF)
foreach(feature C14N CATALOG DEBUG DOCB FTP HTML HTTP ICU LZMA MODULES PROGRAMS PYTHON READER
                SCHEMAS SCHEMATRON TESTS VALID WRITER XINCLUDE XPTR ZLIB LEGACY)
  set(LIBXML2_WITH_${feature} OFF CACHE BOOL "" FORCE)
endforeach()
if(WIN32)
  set(LIBXML2_WITH_ICONV OFF CACHE BOOL "" FORCE)
else()
  set(LIBXML2_WITH_ICONV ON CACHE BOOL "" FORCE)
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
endif()
set(mx_saved_c_flags "${CMAKE_C_FLAGS}")
string(APPEND CMAKE_C_FLAGS " -w")
add_subdirectory("${libxml2_dir}" "${CMAKE_BINARY_DIR}/deps/libxml2" EXCLUDE_FROM_ALL SYSTEM)
set(CMAKE_C_FLAGS "${mx_saved_c_flags}")
# Compiled as a static library in its own right, so that none of its functions are marked for
# export: the core DLL then exports its own symbols, as it does on Linux.
target_compile_definitions(LibXml2 PUBLIC LIBXML_STATIC)
set(MX_LIBXML2 LibXml2::LibXml2)

if(NOT WIN32)
  return()
endif()
set(header_dir "${CMAKE_BINARY_DIR}/deps/include")
file(MAKE_DIRECTORY "${header_dir}")
foreach(library nlohmann CLI)
  if(NOT EXISTS "/usr/include/${library}")
    message(FATAL_ERROR "/usr/include/${library} is missing; run scripts/setup --windows first")
  endif()
  file(CREATE_LINK "/usr/include/${library}" "${header_dir}/${library}" SYMBOLIC)
endforeach()
add_library(mx_header_only INTERFACE)
target_include_directories(mx_header_only SYSTEM INTERFACE "${header_dir}")
add_library(nlohmann_json::nlohmann_json ALIAS mx_header_only)
add_library(CLI11::CLI11 ALIAS mx_header_only)
