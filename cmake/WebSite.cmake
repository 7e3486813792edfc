# The site: the game in a page, as static files any web server or games site
# can host (build-web/site/), and the same files zipped with index.html at
# the root (build-web/swarm-web.zip).
set(SWARM_SITE_DIR ${CMAKE_BINARY_DIR}/site)

# The game's data go into swarm.data, loaded into /swarm before the game starts.
set(SWARM_PRELOAD)
set(SWARM_PRELOADED)
foreach(file ${SWARM_DATA_FILES})
  if(file MATCHES "\\.(dat|wav)$")
    list(APPEND SWARM_PRELOAD "SHELL:--preload-file ${SWARM_NATIVE_DATA_DIR}/${file}@/swarm/${file}")
    list(APPEND SWARM_PRELOADED "${SWARM_NATIVE_DATA_DIR}/${file}")
  endif()
endforeach()

file(GLOB SWARM_PAGE_SOURCES CONFIGURE_DEPENDS src/host/web/page/*.cpp)
add_executable(swarm ${SWARM_PAGE_SOURCES})
target_link_libraries(swarm PRIVATE swarmheadless swarmweb)
target_link_options(swarm PRIVATE ${SWARM_WEB_LINK_FLAGS} ${SWARM_PRELOAD}
  "-sEXPORTED_RUNTIME_METHODS=[\"FS\",\"addRunDependency\",\"removeRunDependency\",\"UTF8ToString\"]")
set_target_properties(swarm PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${SWARM_SITE_DIR} SUFFIX .js
  LINK_DEPENDS "${SWARM_PRELOADED}")

set(SWARM_SHELL_FILES index.html page.js replays.js page.css)
set(SWARM_SITE_FILES)
foreach(file ${SWARM_SHELL_FILES})
  configure_file(src/host/web/shell/${file} ${SWARM_SITE_DIR}/${file} COPYONLY)
endforeach()
configure_file(${SWARM_NATIVE_DATA_DIR}/../icons/hicolor/128x128/apps/swarm.png
  ${SWARM_SITE_DIR}/swarm-icon.png COPYONLY)

add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/swarm-web.zip
  COMMAND ${CMAKE_COMMAND} -E rm -f ${CMAKE_BINARY_DIR}/swarm-web.zip
  COMMAND ${CMAKE_COMMAND} -E chdir ${SWARM_SITE_DIR} ${CMAKE_COMMAND} -E tar cf
    ${CMAKE_BINARY_DIR}/swarm-web.zip --format=zip index.html page.js replays.js page.css swarm-icon.png
    swarm.js swarm.wasm swarm.data
  DEPENDS swarm ${SWARM_SITE_DIR}/index.html ${SWARM_SITE_DIR}/page.js
    ${SWARM_SITE_DIR}/replays.js ${SWARM_SITE_DIR}/page.css
  COMMENT "Zipping the site into swarm-web.zip"
  VERBATIM)
add_custom_target(site-zip ALL DEPENDS ${CMAKE_BINARY_DIR}/swarm-web.zip)
