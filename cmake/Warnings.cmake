# Warning flags shared by every target of the project.
add_library(mx_warnings INTERFACE)
target_compile_options(mx_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor)
if(MX_WARNINGS_AS_ERRORS)
  target_compile_options(mx_warnings INTERFACE -Werror)
endif()
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_UNITY_BUILD)
  # A unity build includes each source into a batch file, so GCC takes every source for a header
  # and warns that a test fixture in its anonymous namespace is a base of a class outside it.
  # The warning is about headers shared between files; a source included once is not one.
  target_compile_options(mx_warnings INTERFACE -Wno-subobject-linkage)
endif()
