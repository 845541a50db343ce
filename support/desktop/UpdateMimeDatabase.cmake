# cmake -DUPDATE_MIME_DATABASE=PROGRAM -DPACKAGE=vidlark.xml -DROOT=FOLDER -P UpdateMimeDatabase.cmake
#
# Makes FOLDER/mime the database of just our file types, as update-mime-database makes the
# system's from an installed package, and prints what the tool printed: it reports a wrong
# element or value on its output and still ends with success.
file(REMOVE_RECURSE ${ROOT})
file(MAKE_DIRECTORY ${ROOT}/mime/packages)
file(COPY ${PACKAGE} DESTINATION ${ROOT}/mime/packages)
# With the folder among the data folders, the tool has no reason to say it is not searched.
execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_DATA_DIRS=${ROOT}
        ${UPDATE_MIME_DATABASE} ${ROOT}/mime
    OUTPUT_VARIABLE out ERROR_VARIABLE out RESULT_VARIABLE result)
if(out)
    message("${out}")
endif()
if(NOT result EQUAL 0)
    message(FATAL_ERROR "update-mime-database failed: ${result}")
endif()
file(STRINGS ${ROOT}/mime/globs2 globs REGEX "^[0-9]+:application/x-vidlark")
if(NOT globs MATCHES "application/x-vidlark-profile:\\*\\.epe" OR
   NOT globs MATCHES "application/x-vidlark-playlist:\\*\\.plf")
    message(FATAL_ERROR "the database does not map *.epe and *.plf to our types: ${globs}")
endif()
