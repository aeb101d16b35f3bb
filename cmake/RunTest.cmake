# Runs one test executable in an empty working directory with a HOME of its own.
file(REMOVE_RECURSE "${DIR}")
file(MAKE_DIRECTORY "${DIR}/home")
set(ENV{HOME} "${DIR}/home")
set(ENV{XDG_RUNTIME_DIR} "${DIR}/home")
execute_process(COMMAND "${EXE}" -maxwarnings 0 WORKING_DIRECTORY "${DIR}" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${EXE} failed: ${rc}")
endif()
