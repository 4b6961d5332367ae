# Warning flags shared by every target of the project.
add_library(mx_warnings INTERFACE)
target_compile_options(mx_warnings INTERFACE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor)
if(MX_WARNINGS_AS_ERRORS)
  target_compile_options(mx_warnings INTERFACE -Werror)
endif()
