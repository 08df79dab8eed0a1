# package_file(<variable> <folder> <version>): the path of roomkit_<version>_<arch>.deb in the
# folder, for this machine's architecture; stops the test when it is not there.
function(package_file variable folder version)
  execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE arch
                  OUTPUT_STRIP_TRAILING_WHITESPACE)
  set(deb ${folder}/roomkit_${version}_${arch}.deb)
  if(NOT EXISTS ${deb})
    file(GLOB made ${folder}/*.deb)
    message(FATAL_ERROR "no ${deb}; the folder holds: ${made}")
  endif()
  set(${variable} ${deb} PARENT_SCOPE)
endfunction()
