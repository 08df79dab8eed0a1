# The staged install holds exactly the files of the expected list, and its programs answer
# --version. Run with -DSTAGE=<staging folder> -DEXPECTED=<list> -DVERSION=<project version>.
include(${CMAKE_CURRENT_LIST_DIR}/run_quietly.cmake)

file(STRINGS ${EXPECTED} expected REGEX "^[^#]")
file(GLOB_RECURSE found LIST_DIRECTORIES false RELATIVE ${STAGE} ${STAGE}/*)
set(missing ${expected})
list(REMOVE_ITEM missing ${found})
set(extra ${found})
list(REMOVE_ITEM extra ${expected})
if(missing OR extra)
  list(JOIN missing "\n  " missing)
  list(JOIN extra "\n  " extra)
  message(FATAL_ERROR "The installed tree differs.\nMissing:\n  ${missing}\nUnexpected:\n  ${extra}")
endif()

foreach(program roomkit switchboard roomkit-db)
  run_without_display(answer ${STAGE}/usr/bin/${program} --version)
  if(NOT answer STREQUAL "${program} ${VERSION}\n")
    message(FATAL_ERROR "the installed ${program} --version printed '${answer}'")
  endif()
endforeach()
