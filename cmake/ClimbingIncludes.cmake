# Run by the build (cmake -P, with SOURCE_DIR): fails, naming each one, when an include of the
# source tree climbs out of a folder with "../", which would reach past the include views that
# keep the layers apart. Without git (a source archive) there is nothing to search and it passes.
execute_process(COMMAND git grep --untracked -n -E
                        "^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^\"]*/)?\\.\\./"
                        -- "*.cpp" "*.h"
                WORKING_DIRECTORY ${SOURCE_DIR} OUTPUT_VARIABLE hits RESULT_VARIABLE found
                ERROR_QUIET)
if(found EQUAL 0 AND hits)
  message(FATAL_ERROR "an include leaves its folder; name the header from its layer instead:\n${hits}")
endif()
