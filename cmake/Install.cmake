# Installation in the layout of Debian's games, and the Debian package.
#
#   PREFIX/games/swarm                   launcher (on the default PATH)
#   PREFIX/lib/games/swarm/              the game program and swarm-replay
#   PREFIX/share/games/swarm/            data files (read-only)
#   PREFIX/share/applications, metainfo, icons/hicolor, man/man6
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

install(PROGRAMS ${CMAKE_BINARY_DIR}/dist/swarm DESTINATION ${SWARM_INSTALL_GAMESDIR})
install(TARGETS swarm swarm-replay RUNTIME DESTINATION ${SWARM_INSTALL_LIBEXECDIR})

# Generated at build time (target gamedata), so listed by name here.
list(TRANSFORM SWARM_DATA_FILES PREPEND "${SWARM_DATA_DIR}/" OUTPUT_VARIABLE swarm_data_paths)
install(FILES ${swarm_data_paths} DESTINATION ${SWARM_INSTALL_DATADIR})
foreach(size ${SWARM_ICON_SIZES})
  set(icon_dir icons/hicolor/${size}x${size}/apps)
  install(FILES ${CMAKE_BINARY_DIR}/${icon_dir}/swarm.png
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/${icon_dir})
endforeach()

install(FILES ${CMAKE_SOURCE_DIR}/dist/swarm.desktop
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/dist/io.github.swarmteam.swarm.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/dist/swarm.6
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

# Debian package: cpack -G DEB (installs under /usr whatever the prefix).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME swarm)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Swarm Team")
set(CPACK_PACKAGE_CONTACT "The Swarm Team <swarm@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arcade shooter: shoot down waves of insects")
set(CPACK_PACKAGE_DESCRIPTION [[
Swarm! is a small fullscreen arcade shooter. Your ship sits at the bottom
of the play field and moves left and right, firing upward, while enemy
ships appear near the top one by one, wander about and fire back. Each
cleared wave is tallied with a bonus, and an extra ship for good shooting;
every new wave brings more and faster enemies. Each user keeps a high
score of their own.]])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
# SDL opens libGL.so.1 (GLX) at run time, which dpkg-shlibdeps cannot see.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libgl1")
find_program(SWARM_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(SWARM_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  # Without dpkg-dev: the libraries the game and swarm-replay link, by name.
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", libc6, libgcc-s1, libstdc++6, "
         "libopengl0, libglu1-mesa | libglu1, libpng16-16, libsdl2-2.0-0, libsdl2-mixer-2.0-0")
endif()

# Debian keeps manual pages compressed; the package gets swarm.6.gz.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_BINARY_DIR}/dist/compress-man.cmake)
file(WRITE ${CMAKE_BINARY_DIR}/dist/compress-man.cmake [[
# Compresses the staged manual pages before CPack packs them.
file(GLOB_RECURSE pages "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*.6")
list(FILTER pages INCLUDE REGEX "/man/man6/[^/]+\\.6$")
foreach(page ${pages})
  execute_process(COMMAND gzip -9nf "${page}" RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "gzip failed on ${page}")
  endif()
endforeach()
]])

set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build[^/]*/")
include(CPack)
