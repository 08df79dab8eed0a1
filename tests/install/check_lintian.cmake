# lintian finds no error in the package. Run with -DOUT=<package folder> -DVERSION=<version>.
include(${CMAKE_CURRENT_LIST_DIR}/package_file.cmake)
package_file(deb ${OUT} ${VERSION})
execute_process(COMMAND lintian --fail-on error ${deb}
                RESULT_VARIABLE status OUTPUT_VARIABLE report ERROR_VARIABLE errors)
message("${report}${errors}")
if(NOT status EQUAL 0)
  message(FATAL_ERROR "lintian reports errors for ${deb}")
endif()
