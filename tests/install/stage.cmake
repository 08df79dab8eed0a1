# Installs the build into a fresh staging folder, prefix /usr. Run with -DBUILD=<build folder>
# -DSTAGE=<staging folder>.
file(REMOVE_RECURSE ${STAGE})
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${STAGE} ${CMAKE_COMMAND} --install ${BUILD} --prefix /usr
  RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the install into ${STAGE} failed:\n${errors}")
endif()
