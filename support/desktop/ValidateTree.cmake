# cmake -DAPPSTREAMCLI=PROGRAM -DBUILD=BUILDFOLDER -DTREE=FOLDER -P ValidateTree.cmake
#
# Installs the desktop files (install component "desktop") into FOLDER as a package lays them
# out, and has appstreamcli check the tree as a whole: the metainfo file named after its id, the
# menu entry it launches, the icon that entry names.
file(REMOVE_RECURSE ${TREE})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${TREE} --component desktop
    OUTPUT_QUIET RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "installing the desktop files failed: ${result}")
endif()
execute_process(COMMAND ${APPSTREAMCLI} validate-tree --no-net --strict ${TREE}
    OUTPUT_VARIABLE out ERROR_VARIABLE out RESULT_VARIABLE result)
message("${out}")
if(NOT result EQUAL 0)
    message(FATAL_ERROR "appstreamcli validate-tree: ${result}")
endif()
