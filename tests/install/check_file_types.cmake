# The installed desktop entry takes a file (%f) and names the building type and the Access type,
# and the installed MIME package, compiled by shared-mime-info itself, matches the building files
# by name. Run with -DSTAGE=<staging folder> -DWORK=<scratch folder>.
file(READ ${STAGE}/usr/share/applications/org.roomkit.roomkit.desktop entry)
foreach(line "Exec=roomkit %f" "MimeType=application/x-roomkit-building;application/x-msaccess;")
  string(FIND "${entry}" "\n${line}\n" at)
  if(at LESS 0)
    message(FATAL_ERROR "the desktop entry lacks the line '${line}'")
  endif()
endforeach()

file(REMOVE_RECURSE ${WORK}/mime)
file(MAKE_DIRECTORY ${WORK}/mime/packages)
file(COPY ${STAGE}/usr/share/mime/packages/org.roomkit.roomkit.xml DESTINATION ${WORK}/mime/packages)
# Compiled in a folder of its own, which is then the only one searched.
execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_DATA_HOME=${WORK} XDG_DATA_DIRS=${WORK}
                        update-mime-database ${WORK}/mime
                RESULT_VARIABLE failed ERROR_VARIABLE errors)
if(failed OR NOT errors STREQUAL "")
  message(FATAL_ERROR "update-mime-database refused the MIME package: ${errors}")
endif()
file(READ ${WORK}/mime/globs2 globs)
string(FIND "${globs}" "60:application/x-roomkit-building:jox_*.mdb" at)
if(at LESS 0)
  message(FATAL_ERROR "the compiled globs lack the building files:\n${globs}")
endif()
