# Builds the Debian package with CPack into a fresh folder. Run with -DCPACK=<cpack>
# -DCONFIG=<CPackConfig.cmake> -DOUT=<folder>.
file(REMOVE_RECURSE ${OUT})
execute_process(COMMAND ${CPACK} -G DEB --config ${CONFIG} -B ${OUT}
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cpack failed:\n${output}\n${errors}")
endif()
