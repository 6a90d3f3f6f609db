# Runs the catalogue generator and fails unless its output equals the stored source file.
execute_process(COMMAND ${GENERATOR} ${OUTPUT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the catalogue generator failed: ${result}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUTPUT} ${STORED} RESULT_VARIABLE different)
if(different)
  message(FATAL_ERROR "${STORED} differs from the generator's output ${OUTPUT}")
endif()
