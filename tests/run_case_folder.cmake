# Runs the engine on a copy of one case folder and checks that it ends
# normally: status 1 and no "Error" line in "boogie".
# Called as: cmake -DTELVA=<binary> -DCASE=<folder> -DWORK=<scratch> -P run_case_folder.cmake
file(REMOVE_RECURSE "${WORK}")
file(COPY "${CASE}/" DESTINATION "${WORK}")
execute_process(COMMAND "${TELVA}" WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE status
                INPUT_FILE /dev/null OUTPUT_VARIABLE console ERROR_VARIABLE console)
file(READ "${WORK}/boogie" log)
if(NOT status EQUAL 1)
  message(FATAL_ERROR "expected status 1, got ${status}; boogie:\n${log}")
endif()
if(NOT console STREQUAL "")
  message(FATAL_ERROR "expected no console output, got:\n${console}")
endif()
string(FIND "${log}" "Error" error_at)
if(NOT error_at EQUAL -1)
  message(FATAL_ERROR "boogie holds an error:\n${log}")
endif()
