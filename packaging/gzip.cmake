# Compresses IN into OUT at the best ratio, with no name or time stamp in the header, so that
# the same text always gives the same bytes. Run with -DIN=<file> -DOUT=<file>.
execute_process(COMMAND gzip -9 -n -c ${IN} OUTPUT_FILE ${OUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  file(REMOVE ${OUT})
  message(FATAL_ERROR "gzip could not compress ${IN}")
endif()
