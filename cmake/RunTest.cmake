# Runs one test executable in an empty working directory with a HOME of its own, and the
# user's data, settings and survey archive there too.
file(REMOVE_RECURSE "${DIR}")
file(MAKE_DIRECTORY "${DIR}/home")
set(ENV{HOME} "${DIR}/home")
set(ENV{XDG_RUNTIME_DIR} "${DIR}/home")
set(ENV{XDG_DATA_HOME} "${DIR}/home/.local/share")
set(ENV{XDG_CONFIG_HOME} "${DIR}/home/.config")
set(ENV{XDG_CACHE_HOME} "${DIR}/home/.cache")
unset(ENV{KELPRA_ARCHIVE})
execute_process(COMMAND "${EXE}" -maxwarnings 0 WORKING_DIRECTORY "${DIR}" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${EXE} failed: ${rc}")
endif()
