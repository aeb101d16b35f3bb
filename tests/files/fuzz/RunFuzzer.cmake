# Runs a libFuzzer executable for a bounded time on a scratch copy of the seed corpus, so
# the inputs it adds never land in the source tree.
file(REMOVE_RECURSE "${DIR}")
file(MAKE_DIRECTORY "${DIR}/corpus")
file(GLOB seeds "${SEEDS}/*")
file(COPY ${seeds} DESTINATION "${DIR}/corpus")
execute_process(COMMAND "${EXE}" -max_total_time=${SECONDS} -timeout=10 -rss_limit_mb=2048
                        -artifact_prefix=${DIR}/ "${DIR}/corpus"
                WORKING_DIRECTORY "${DIR}" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${EXE} found a failing input (see ${DIR}): ${rc}")
endif()
