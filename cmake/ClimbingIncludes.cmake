# Run by the build (cmake -P, with SOURCE_DIR): fails, naming each one, when an include of the
# source tree climbs out of a folder with "../", which would reach past the include views that
# keep the layers apart. A source archive without git has nothing to search and passes; in a
# clone, a search that fails (rather than finding nothing) fails the build too.
execute_process(COMMAND git grep --untracked -n -E
                        "^[[:space:]]*#[[:space:]]*include[[:space:]]*[<\"]([^>\"]*/)?\\.\\./"
                        -- "*.cpp" "*.h"
                WORKING_DIRECTORY ${SOURCE_DIR} OUTPUT_VARIABLE hits ERROR_VARIABLE problem
                RESULT_VARIABLE found)
if(found EQUAL 0)
  message(FATAL_ERROR "an include leaves its folder; name the header from its layer instead:\n${hits}")
elseif(NOT found EQUAL 1 AND EXISTS ${SOURCE_DIR}/.git)
  message(FATAL_ERROR "cannot search ${SOURCE_DIR} for includes that leave their folder: ${problem}")
endif()
