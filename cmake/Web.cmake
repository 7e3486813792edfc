# The browser version, built with Emscripten (emcmake cmake): the same game
# code on the browser host, and the replay tool on the headless host in a
# page. Nothing here uses SDL, zlib or libpng: the frozen Emscripten of
# Debian 12 has no ports. The data files come from a native build's
# generator, in SWARM_NATIVE_DATA_DIR.
set(SWARM_NATIVE_DATA_DIR "${CMAKE_SOURCE_DIR}/build/data" CACHE PATH
    "The data files made by a native build's generator")
include(${CMAKE_SOURCE_DIR}/cmake/DataFiles.cmake)

add_compile_options(-Wall -Wextra -O2)

file(GLOB SWARM_CORE_SOURCES CONFIGURE_DEPENDS
  src/system/*.cpp src/gfx/*.cpp src/game/*.cpp src/sound/*.cpp src/storage/*.cpp)
add_library(swarmcore STATIC ${SWARM_CORE_SOURCES})
target_include_directories(swarmcore PUBLIC src)

file(GLOB SWARM_HOST_SOURCES CONFIGURE_DEPENDS src/host/*.cpp)
add_library(swarmhost STATIC ${SWARM_HOST_SOURCES})
set_property(SOURCE src/host/options.cpp APPEND PROPERTY COMPILE_DEFINITIONS
  SWARM_VERSION="${PROJECT_VERSION}")
target_link_libraries(swarmhost PUBLIC swarmcore)

# The browser's side of every host: the OpenGL layer over WebGL 2, the
# canvas's context, and the sound file check without SDL.
file(GLOB SWARM_WEB_SOURCES CONFIGURE_DEPENDS src/host/web/gl/*.cpp src/host/web/*.cpp)
add_library(swarmweb STATIC ${SWARM_WEB_SOURCES})
target_link_libraries(swarmweb PUBLIC swarmhost)
# Every OpenGL call of the game has its function in that layer; the build
# stops otherwise, with the missing names.
add_custom_target(browser_gl
  COMMAND sh ${CMAKE_SOURCE_DIR}/tests/scripts/browser_gl.sh ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR}
  COMMENT "Checking that the browser's OpenGL layer has every function the game calls"
  VERBATIM)
add_dependencies(swarmcore browser_gl)

file(GLOB SWARM_HEADLESS_SOURCES CONFIGURE_DEPENDS src/host/headless/*.cpp)
add_library(swarmheadless STATIC ${SWARM_HEADLESS_SOURCES})
target_link_libraries(swarmheadless PUBLIC swarmhost)

set(SWARM_WEB_LINK_FLAGS -sMIN_WEBGL_VERSION=2 -sMAX_WEBGL_VERSION=2 -sALLOW_MEMORY_GROWTH=1
  -sENVIRONMENT=web -sFORCE_FILESYSTEM=1 -sEXIT_RUNTIME=0)

# The replay tool, run in a page by build-web/swarm-web-replay.
file(GLOB SWARM_REPLAY_SOURCES CONFIGURE_DEPENDS tools/replay/*.cpp src/host/web/replay/*.cpp)
add_executable(swarm-web-replay ${SWARM_REPLAY_SOURCES} tools/common/png_write_stored.cpp)
target_include_directories(swarm-web-replay PRIVATE tools/replay tools/common)
target_link_libraries(swarm-web-replay PRIVATE swarmheadless swarmweb)
target_link_options(swarm-web-replay PRIVATE ${SWARM_WEB_LINK_FLAGS} -sINVOKE_RUN=0
  "-sEXPORTED_RUNTIME_METHODS=[\"FS\",\"callMain\"]")
set_target_properties(swarm-web-replay PROPERTIES
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/replay SUFFIX .js)
configure_file(tools/web/replay.html ${CMAKE_BINARY_DIR}/replay/index.html COPYONLY)

# The Node side: the launcher of the headless browser, and the command that
# runs the replay in it.
configure_file(tools/web/swarm-web-replay.in ${CMAKE_BINARY_DIR}/swarm-web-replay @ONLY
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ
  WORLD_EXECUTE)

include(${CMAKE_SOURCE_DIR}/cmake/WebSite.cmake)

# playwright-core for the Node side, from the lock file, into the build tree:
# fetched from the npm registry only when asked for (make web-replay, make
# test), so that the site builds offline.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/npm/node_modules/.package-lock.json
  COMMAND sh ${CMAKE_SOURCE_DIR}/tools/web/fetch-driver.sh ${CMAKE_BINARY_DIR}/npm
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/web/package.json ${CMAKE_SOURCE_DIR}/tools/web/package-lock.json
  COMMENT "Installing playwright-core from tools/web/package-lock.json"
  VERBATIM)
add_custom_target(node-modules DEPENDS ${CMAKE_BINARY_DIR}/npm/node_modules/.package-lock.json)
