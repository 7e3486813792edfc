# Installation in the layout of Debian's games, and the Debian package.
#
#   PREFIX/games/swarm                   launcher (on the default PATH)
#   PREFIX/lib/games/swarm/              the game program and swarm-replay
#   PREFIX/share/games/swarm/            data files (read-only)
#   PREFIX/share/applications, metainfo, icons/hicolor, man/man6
#   PREFIX/share/doc/swarm/              copyright and changelog
#
# The game runs in its working directory, so the launcher gives every user a
# directory of links to the data where their own HighScore.dat is kept.

set(SWARM_INSTALL_GAMESDIR "games" CACHE STRING
    "Where the swarm launcher is installed (relative to the prefix)")
set(SWARM_INSTALL_LIBEXECDIR "lib/games/swarm" CACHE STRING
    "Where the game program and swarm-replay are installed (relative to the prefix)")
set(SWARM_INSTALL_DATADIR "share/games/swarm" CACHE STRING
    "Where the game's data files are installed (relative to the prefix)")

# The launcher finds the game beside itself when it can (a moved or staged
# tree) and falls back to the absolute paths of this configuration.
function(swarm_install_path dir out_abs out_rel)
  if(IS_ABSOLUTE "${dir}")
    set(abs "${dir}")
    set(rel "${dir}")
  else()
    set(abs "${CMAKE_INSTALL_PREFIX}/${dir}")
    if(IS_ABSOLUTE "${SWARM_INSTALL_GAMESDIR}")
      set(rel "${abs}")
    else()
      file(RELATIVE_PATH rel "/prefix/${SWARM_INSTALL_GAMESDIR}" "/prefix/${dir}")
    endif()
  endif()
  set(${out_abs} "${abs}" PARENT_SCOPE)
  set(${out_rel} "${rel}" PARENT_SCOPE)
endfunction()

swarm_install_path("${SWARM_INSTALL_LIBEXECDIR}" SWARM_ABS_LIBEXECDIR SWARM_LAUNCHER_TO_LIBEXEC)
swarm_install_path("${SWARM_INSTALL_DATADIR}" SWARM_ABS_DATADIR SWARM_LAUNCHER_TO_DATA)
configure_file(${CMAKE_SOURCE_DIR}/dist/swarm.sh.in ${CMAKE_BINARY_DIR}/dist/swarm @ONLY)

# The same launcher for the build tree, build/run/swarm (what `make run`
# starts): the game and the data sit beside it, and the high score goes to
# the same per-user directory as the installed game's, outside the build.
set(SWARM_LAUNCHER_TO_LIBEXEC ..)
set(SWARM_LAUNCHER_TO_DATA ../data)
set(SWARM_ABS_LIBEXECDIR ${CMAKE_BINARY_DIR})
set(SWARM_ABS_DATADIR ${SWARM_DATA_DIR})
configure_file(${CMAKE_SOURCE_DIR}/dist/swarm.sh.in ${CMAKE_BINARY_DIR}/dist/run/swarm @ONLY)
file(COPY ${CMAKE_BINARY_DIR}/dist/run/swarm DESTINATION ${CMAKE_BINARY_DIR}/run
     FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                      WORLD_READ WORLD_EXECUTE)

# Three parts, which the Debian packages follow: the game (launcher, program,
# desktop files, manual page), its architecture-independent data, and the
# developers' tool swarm-replay.
install(PROGRAMS ${CMAKE_BINARY_DIR}/dist/swarm DESTINATION ${SWARM_INSTALL_GAMESDIR} COMPONENT game)
install(TARGETS swarm RUNTIME DESTINATION ${SWARM_INSTALL_LIBEXECDIR} COMPONENT game)
install(TARGETS swarm-replay RUNTIME DESTINATION ${SWARM_INSTALL_LIBEXECDIR} COMPONENT tools)

# Generated at build time (target gamedata), so listed by name here.
list(TRANSFORM SWARM_DATA_FILES PREPEND "${SWARM_DATA_DIR}/" OUTPUT_VARIABLE swarm_data_paths)
install(FILES ${swarm_data_paths} DESTINATION ${SWARM_INSTALL_DATADIR} COMPONENT data)
foreach(size ${SWARM_ICON_SIZES})
  set(icon_dir icons/hicolor/${size}x${size}/apps)
  install(FILES ${CMAKE_BINARY_DIR}/${icon_dir}/swarm.png
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/${icon_dir} COMPONENT game)
endforeach()

install(FILES ${CMAKE_SOURCE_DIR}/dist/swarm.desktop
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications COMPONENT game)
install(FILES ${CMAKE_SOURCE_DIR}/dist/io.github.swarmteam.swarm.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo COMPONENT game)
install(FILES ${CMAKE_SOURCE_DIR}/dist/swarm.6
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man6 COMPONENT game)

# The copyright file in Debian's machine-readable form, with the licence text
# of LICENSE after its own copyright line.
file(READ ${CMAKE_SOURCE_DIR}/LICENSE swarm_license)
string(REGEX REPLACE "^.*\nCopyright \\(c\\) [^\n]*\n\n" "" swarm_license "${swarm_license}")
string(REGEX REPLACE "\n+$" "" swarm_license "${swarm_license}")
string(REGEX REPLACE "\n\n" "\n.\n" swarm_license "${swarm_license}")
string(REGEX REPLACE "\n" "\n " swarm_license " ${swarm_license}")
file(WRITE ${CMAKE_BINARY_DIR}/dist/copyright
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Swarm!
Upstream-Contact: ${SWARM_MAINTAINER}
Source: ${PROJECT_HOMEPAGE_URL}

Files: *
Copyright: 2026 the Swarm! developers
License: Expat
${swarm_license}
")

# Each package carries the copyright and changelog in a directory named after
# it; a plain install has the game's only (the others go to packages alone).
install(FILES ${CMAKE_BINARY_DIR}/dist/copyright ${CMAKE_SOURCE_DIR}/dist/changelog
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/swarm COMPONENT game)
foreach(component data tools)
  install(FILES ${CMAKE_BINARY_DIR}/dist/copyright ${CMAKE_SOURCE_DIR}/dist/changelog
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/swarm-${component}
          COMPONENT ${component} EXCLUDE_FROM_ALL)
endforeach()

# Debian packages: cpack -G DEB (installs under /usr whatever the prefix)
# makes swarm, swarm-data and swarm-tools.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME swarm)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "the Swarm! developers")
set(CPACK_PACKAGE_CONTACT "${SWARM_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL game data tools)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${SWARM_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PROJECT_HOMEPAGE_URL}")

set(swarm_about [[
Swarm! is a small fullscreen arcade shooter. Your ship sits at the bottom
of the play field and moves left and right, firing upward, while insects
swarm in near the top one by one, wander about and fire back. Each
cleared wave is tallied with a bonus, and an extra ship for good shooting;
every new wave brings more and faster enemies. Each user keeps a high
score of their own.]])

set(CPACK_DEBIAN_GAME_PACKAGE_NAME swarm)
set(CPACK_DEBIAN_GAME_DESCRIPTION "arcade shooter: shoot down waves of insects
${swarm_about}")
# SDL opens libGL.so.1 (GLX) at run time, which dpkg-shlibdeps cannot see.
set(CPACK_DEBIAN_GAME_PACKAGE_DEPENDS "swarm-data (= ${PROJECT_VERSION}), libgl1")

set(CPACK_DEBIAN_DATA_PACKAGE_NAME swarm-data)
set(CPACK_DEBIAN_DATA_PACKAGE_ARCHITECTURE all)
set(CPACK_DEBIAN_DATA_DESCRIPTION "pictures and sounds for the Swarm! arcade shooter
${swarm_about}

This package holds the game's pictures, font and sounds.")

set(CPACK_DEBIAN_TOOLS_PACKAGE_NAME swarm-tools)
set(CPACK_DEBIAN_TOOLS_DESCRIPTION "replay tool for the Swarm! arcade shooter
${swarm_about}

This package holds swarm-replay, for developers: it runs the game
without a window on a virtual clock from a script of key presses and
writes a trace of the game's state and pictures of chosen moments.")
set(CPACK_DEBIAN_TOOLS_PACKAGE_DEPENDS "swarm-data (= ${PROJECT_VERSION})")

find_program(SWARM_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(SWARM_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_GAME_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_TOOLS_PACKAGE_SHLIBDEPS ON)
else()
  # Without dpkg-dev: the libraries the game and swarm-replay link, by name.
  set(swarm_libs "libc6, libgcc-s1, libstdc++6, libopengl0, libglu1-mesa | libglu1, libsdl2-2.0-0")
  string(APPEND CPACK_DEBIAN_GAME_PACKAGE_DEPENDS ", ${swarm_libs}, libsdl2-mixer-2.0-0")
  string(APPEND CPACK_DEBIAN_TOOLS_PACKAGE_DEPENDS ", ${swarm_libs}, libpng16-16")
endif()

# Before packing: Debian keeps manual pages and changelogs compressed
# (gzip -9n, no time stamp), and its programs without the .comment and .note
# sections that CPack's strip leaves in.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_BINARY_DIR}/dist/debian-files.cmake)
file(WRITE ${CMAKE_BINARY_DIR}/dist/debian-files.cmake "set(SWARM_STRIP \"${CMAKE_STRIP}\")\n")
file(APPEND ${CMAKE_BINARY_DIR}/dist/debian-files.cmake [[
# Compresses the staged manual pages and changelogs and strips the programs.
file(GLOB_RECURSE staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
foreach(file ${staged})
  if(file MATCHES "/man/man6/[^/]+\\.6$" OR file MATCHES "/share/doc/[^/]+/changelog$")
    execute_process(COMMAND gzip -9nf "${file}" RESULT_VARIABLE failed)
  elseif(file MATCHES "/lib/games/swarm/[^/]+$")
    execute_process(COMMAND "${SWARM_STRIP}" --remove-section=.comment --remove-section=.note
                            "${file}" RESULT_VARIABLE failed)
  else()
    continue()
  endif()
  if(failed)
    message(FATAL_ERROR "preparing ${file} for the package failed")
  endif()
endforeach()
]])

set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build[^/]*/")
include(CPack)
