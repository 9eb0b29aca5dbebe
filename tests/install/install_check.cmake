# Runs `cmake --install` into PREFIX (emptied first) and checks the programs,
# the desktop entry (with desktop-file-validate when it is there), the icon and
# the file types.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
include(GNUInstallDirs)
foreach(path
    ${CMAKE_INSTALL_BINDIR}/zor21
    ${CMAKE_INSTALL_BINDIR}/zor21-cli
    ${CMAKE_INSTALL_BINDIR}/zor2run
    ${CMAKE_INSTALL_DATADIR}/applications/zor21.desktop
    ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps/zor21.svg
    ${CMAKE_INSTALL_DATADIR}/mime/packages/zor21.xml)
  if(NOT EXISTS ${PREFIX}/${path})
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endforeach()
file(READ ${PREFIX}/${CMAKE_INSTALL_DATADIR}/mime/packages/zor21.xml mime)
foreach(glob "*.zr2" "*.zrm" "*.z2r")
  string(FIND "${mime}" "pattern=\"${glob}\"" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "no file type for ${glob}")
  endif()
endforeach()
# The entry opens projects: its MimeType names the project type the XML defines.
file(READ ${PREFIX}/${CMAKE_INSTALL_DATADIR}/applications/zor21.desktop entry)
string(FIND "${entry}" "MimeType=application/x-zor2-project;" at)
if(at EQUAL -1)
  message(FATAL_ERROR "the desktop entry does not open projects")
endif()
if(VALIDATE)
  execute_process(COMMAND ${VALIDATE} ${PREFIX}/${CMAKE_INSTALL_DATADIR}/applications/zor21.desktop
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT result EQUAL 0 OR NOT out STREQUAL "")
    message(FATAL_ERROR "desktop-file-validate: ${out}")
  endif()
else()
  message(STATUS "desktop-file-validate not found: the entry's syntax is not checked")
endif()
