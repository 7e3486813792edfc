# The Windows packages, from swarm.exe and the data files a native build
# made: build-win/swarm-win.zip (a folder Swarm/ with swarm.exe, the data,
# README.txt and LICENSE.txt, to unzip and play) and build-win/swarm-setup.exe
# (the same files in a per-user installer made with NSIS). The packaged
# swarm.exe is a stripped copy; the build tree keeps the one with symbols.
find_program(SWARM_MAKENSIS makensis)
if(NOT SWARM_MAKENSIS)
  message(FATAL_ERROR "makensis is missing (Debian package nsis; scripts/install-deps.sh windows)")
endif()

set(SWARM_PACKAGE_DIR ${CMAKE_BINARY_DIR}/package/Swarm)

# Text files for Windows: CRLF line ends, the version filled in.
set(SWARM_VERSION ${PROJECT_VERSION})
configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/README.txt ${SWARM_PACKAGE_DIR}/README.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${CMAKE_SOURCE_DIR}/LICENSE ${SWARM_PACKAGE_DIR}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)

set(SWARM_PACKAGE_FILES swarm.exe ${SWARM_DATA_FILES} README.txt LICENSE.txt)
set(SWARM_PACKAGE_COPIES)
foreach(file ${SWARM_DATA_FILES})
  list(APPEND SWARM_PACKAGE_COPIES ${SWARM_PACKAGE_DIR}/${file})
  add_custom_command(OUTPUT ${SWARM_PACKAGE_DIR}/${file}
    COMMAND ${CMAKE_COMMAND} -E copy ${SWARM_NATIVE_DATA_DIR}/${file} ${SWARM_PACKAGE_DIR}/${file}
    DEPENDS ${SWARM_NATIVE_DATA_DIR}/${file}
    VERBATIM)
endforeach()
add_custom_command(OUTPUT ${SWARM_PACKAGE_DIR}/swarm.exe
  COMMAND ${CMAKE_STRIP} -o ${SWARM_PACKAGE_DIR}/swarm.exe $<TARGET_FILE:swarm>
  DEPENDS swarm
  COMMENT "Stripping swarm.exe for the packages"
  VERBATIM)
list(APPEND SWARM_PACKAGE_COPIES ${SWARM_PACKAGE_DIR}/swarm.exe)

add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/swarm-win.zip
  COMMAND ${CMAKE_COMMAND} -E rm -f ${CMAKE_BINARY_DIR}/swarm-win.zip
  COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/package ${CMAKE_COMMAND} -E tar cf
    ${CMAKE_BINARY_DIR}/swarm-win.zip --format=zip --mtime=2000-01-01 Swarm
  DEPENDS ${SWARM_PACKAGE_COPIES} ${SWARM_PACKAGE_DIR}/README.txt ${SWARM_PACKAGE_DIR}/LICENSE.txt
  COMMENT "Zipping swarm.exe and its data into swarm-win.zip"
  VERBATIM)

# The installer's list of files: what it installs and what its uninstaller
# removes, the same names.
set(install_lines "")
set(remove_lines "")
foreach(file ${SWARM_PACKAGE_FILES})
  string(APPEND install_lines "  File \"${SWARM_PACKAGE_DIR}/${file}\"\n")
  string(APPEND remove_lines "  Delete \"$INSTDIR\\${file}\"\n")
endforeach()
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/package/files.nsh CONTENT
  "; The files of the package (written by cmake/WindowsPackage.cmake).
!macro SwarmInstallFiles
${install_lines}!macroend
!macro SwarmRemoveFiles
${remove_lines}!macroend
")

set(SWARM_NSIS_DEFINES -DVERSION=${PROJECT_VERSION} -DOUTFILE=${CMAKE_BINARY_DIR}/swarm-setup.exe
  -DLICENSE=${SWARM_PACKAGE_DIR}/LICENSE.txt -DFILES=${CMAKE_BINARY_DIR}/package/files.nsh)
if(SWARM_ICON_FILE)
  list(APPEND SWARM_NSIS_DEFINES -DICON=${SWARM_ICON_FILE})
endif()
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/swarm-setup.exe
  COMMAND ${SWARM_MAKENSIS} -V2 -NOCD ${SWARM_NSIS_DEFINES} ${CMAKE_SOURCE_DIR}/packaging/windows/swarm.nsi
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/windows/swarm.nsi ${CMAKE_BINARY_DIR}/package/files.nsh
    ${SWARM_PACKAGE_COPIES} ${SWARM_PACKAGE_DIR}/README.txt ${SWARM_PACKAGE_DIR}/LICENSE.txt
    ${SWARM_ICON_FILE}
  COMMENT "Making the installer swarm-setup.exe"
  VERBATIM)

add_custom_target(windows-packages ALL
  DEPENDS ${CMAKE_BINARY_DIR}/swarm-win.zip ${CMAKE_BINARY_DIR}/swarm-setup.exe)

# The packages and the real swarm.exe under Wine (tests/windows/): one at a
# time, as they share the session's display and keyboard.
if(SWARM_TESTS)
  foreach(name packages game)
    add_test(NAME windows.${name}
      COMMAND bash ${CMAKE_SOURCE_DIR}/tests/windows/${name}.sh ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR})
    set_tests_properties(windows.${name} PROPERTIES LABELS wine TIMEOUT 300 RESOURCE_LOCK wine_display)
  endforeach()
endif()
