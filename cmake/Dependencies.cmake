# libxml2 and Lua, compiled from Debian's own source packages, which `scripts/setup` unpacks
# (with Debian's patches applied) into MX_DEPS_SOURCE_DIR, and linked into the core statically.
# Debian has no mingw-w64 builds of them; on Linux the distribution's libxml2 drags in ICU, lzma
# and zlib, whose loading was most of the time of a short command. Both platforms now use the
# same two libraries built the same way. For the Windows build the header-only JSON and
# command-line libraries are the Debian headers, reached through a folder that holds only them so
# that the host's /usr/include never reaches the cross compiler.
#
# Sets MX_LIBXML2 and MX_LUA to the targets to link.

set(MX_DEPS_SOURCE_DIR "${PROJECT_SOURCE_DIR}/build/deps" CACHE PATH
    "Folder holding the unpacked libxml2 and Lua source packages and their builds")

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

function(mx_deps_step step)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE output
                  ERROR_VARIABLE output)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "Building libxml2 and Lua failed at the ${step} step:\n${output}")
  endif()
endfunction()

# Built once per compiler: the release build and both sanitizer builds of one compiler link the
# same copy, built with plain optimisation (the sanitizers need only our own code instrumented),
# and a second configure finds it ready. The folder's name is a digest of what makes the copy:
# the compiler, its version, the toolchain file, the sources and the lists that build it.
mx_find_source_package(lua_dir "lua5.4-*")
mx_find_source_package(libxml2_dir "libxml2-*")
file(SHA256 "${CMAKE_CURRENT_LIST_DIR}/deps/CMakeLists.txt" deps_list_digest)
file(SHA256 "${CMAKE_CURRENT_LIST_FILE}" this_list_digest)
string(SHA256 deps_key "${CMAKE_C_COMPILER}|${CMAKE_C_COMPILER_VERSION}|${CMAKE_TOOLCHAIN_FILE}|\
${lua_dir}|${libxml2_dir}|${deps_list_digest}|${this_list_digest}|${MX_HARDENING_C_FLAGS}")
string(SUBSTRING "${deps_key}" 0 12 deps_key)
get_filename_component(compiler_name "${CMAKE_C_COMPILER}" NAME)
set(deps_root "${MX_DEPS_SOURCE_DIR}/built/${compiler_name}-${deps_key}")
set(deps_prefix "${deps_root}/install")

# Two build folders configured at once wait for each other here, so only one builds the copy.
file(LOCK "${deps_root}.lock" GUARD FILE)
if(NOT EXISTS "${deps_prefix}/complete")
  message(STATUS "Building libxml2 and Lua for ${compiler_name} into ${deps_root}")
  file(REMOVE_RECURSE "${deps_root}/build" "${deps_prefix}")
  set(configure_args
      -S "${CMAKE_CURRENT_LIST_DIR}/deps" -B "${deps_root}/build" -G "${CMAKE_GENERATOR}"
      -DCMAKE_BUILD_TYPE=Release "-DCMAKE_C_FLAGS_RELEASE=-O2 -DNDEBUG ${MX_HARDENING_C_FLAGS}"
      "-DCMAKE_C_COMPILER=${CMAKE_C_COMPILER}" "-DCMAKE_INSTALL_PREFIX=${deps_prefix}"
      "-DMX_LUA_SOURCE_DIR=${lua_dir}" "-DMX_LIBXML2_SOURCE_DIR=${libxml2_dir}")
  if(CMAKE_TOOLCHAIN_FILE)
    list(APPEND configure_args "-DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}")
  endif()
  if(CMAKE_C_COMPILER_LAUNCHER)
    list(APPEND configure_args "-DCMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER}")
  endif()
  mx_deps_step(configure "${CMAKE_COMMAND}" ${configure_args})
  mx_deps_step(build "${CMAKE_COMMAND}" --build "${deps_root}/build")
  mx_deps_step(install "${CMAKE_COMMAND}" --install "${deps_root}/build" --component development)
  file(TOUCH "${deps_prefix}/complete")
endif()
file(LOCK "${deps_root}.lock" RELEASE)

include("${deps_prefix}/lib/cmake/mx-lua.cmake")
set(MX_LUA mx_lua)
# Not below the cross compiler's root: the copy is ours, not the target system's. The copy found
# by an earlier configure may be another one's; look again.
unset(LibXml2_DIR CACHE)
find_package(LibXml2 CONFIG REQUIRED PATHS "${deps_prefix}" NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
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
