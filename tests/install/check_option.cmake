# A program answers an option without a display: exit 0, nothing on standard error, and the
# expected first line; with -DONLY_LINE=ON that line is all it prints. Run with
# -DPROGRAM=<path> -DOPTION=<option> -DFIRST_LINE=<text>.
include(${CMAKE_CURRENT_LIST_DIR}/run_quietly.cmake)

run_without_display(answer ${PROGRAM} ${OPTION})
string(FIND "${answer}" "\n" end)
string(SUBSTRING "${answer}" 0 ${end} first)
if(NOT "${first}" STREQUAL "${FIRST_LINE}")
  message(FATAL_ERROR "${PROGRAM} ${OPTION} began with '${first}', not '${FIRST_LINE}'")
endif()
if(ONLY_LINE AND NOT answer STREQUAL "${FIRST_LINE}\n")
  message(FATAL_ERROR "${PROGRAM} ${OPTION} printed more than '${FIRST_LINE}':\n${answer}")
endif()
