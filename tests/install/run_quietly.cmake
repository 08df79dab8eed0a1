# run_without_display(<output variable> <program> <argument>...): runs a program with no display
# and no Qt platform set, as from a plain shell, and stops the test unless it ends with 0 and
# prints nothing on standard error.
function(run_without_display output)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=QT_QPA_PLATFORM --unset=DISPLAY --unset=WAYLAND_DISPLAY
            ${ARGN}
    RESULT_VARIABLE status OUTPUT_VARIABLE text ERROR_VARIABLE errors)
  if(NOT status STREQUAL "0" OR NOT errors STREQUAL "")
    message(FATAL_ERROR "'${ARGN}' ended with ${status}; standard error:\n${errors}")
  endif()
  set(${output} "${text}" PARENT_SCOPE)
endfunction()
