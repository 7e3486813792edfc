# The Windows version, cross-built with MinGW-w64 (cmake/mingw-w64.cmake): the
# same game on the Win32 host, and the replay tool on the headless host with a
# hidden WGL window. Every program is linked statically, so it needs only
# Windows' own DLLs. The data files come from a native build's generator, in
# SWARM_NATIVE_DATA_DIR; the tests run under Wine (tests/windows/wine.sh).
set(SWARM_NATIVE_DATA_DIR "${CMAKE_SOURCE_DIR}/build/data" CACHE PATH
    "The data files made by a native build's generator")
get_filename_component(swarm_native_build "${SWARM_NATIVE_DATA_DIR}" DIRECTORY)
set(SWARM_NATIVE_BUILD_DIR "${swarm_native_build}" CACHE PATH
    "The native build whose swarm-replay and tests the Windows tests compare with")
include(${CMAKE_SOURCE_DIR}/cmake/DataFiles.cmake)

add_compile_options(-Wall -Wextra)
# The C99 printf family instead of the Windows C runtime's, whose %g writes
# three exponent digits: the trace's %.17g comes out as it does natively.
# No min and max macros from windows.h.
add_compile_definitions(__USE_MINGW_ANSI_STDIO=1 NOMINMAX)
add_link_options(-static)

file(GLOB SWARM_CORE_SOURCES CONFIGURE_DEPENDS
  src/system/*.cpp src/gfx/*.cpp src/game/*.cpp src/sound/*.cpp src/storage/*.cpp)
add_library(swarmcore STATIC ${SWARM_CORE_SOURCES})
target_include_directories(swarmcore PUBLIC src)
target_link_libraries(swarmcore PUBLIC glu32 opengl32)

file(GLOB SWARM_HOST_SOURCES CONFIGURE_DEPENDS src/host/*.cpp)
add_library(swarmhost STATIC ${SWARM_HOST_SOURCES})
set_property(SOURCE src/host/options.cpp APPEND PROPERTY COMPILE_DEFINITIONS
  SWARM_VERSION="${PROJECT_VERSION}")
target_link_libraries(swarmhost PUBLIC swarmcore)

file(GLOB SWARM_HEADLESS_SOURCES CONFIGURE_DEPENDS src/host/headless/*.cpp)
add_library(swarmheadless STATIC ${SWARM_HEADLESS_SOURCES})
target_link_libraries(swarmheadless PUBLIC swarmhost)

# Presenting on desktop OpenGL, the same code as the SDL host's.
file(GLOB SWARM_PRESENT_SOURCES CONFIGURE_DEPENDS src/host/present/*.cpp)
add_library(swarmpresent STATIC ${SWARM_PRESENT_SOURCES})
target_link_libraries(swarmpresent PUBLIC swarmhost)

# The Win32 host, all but its entry point: the WGL context, the headless
# host's hidden window, and the rest of the game's host.
file(GLOB SWARM_WIN32_SOURCES CONFIGURE_DEPENDS src/host/win32/*.cpp)
list(REMOVE_ITEM SWARM_WIN32_SOURCES ${CMAKE_SOURCE_DIR}/src/host/win32/main.cpp)
add_library(swarmwin32 STATIC ${SWARM_WIN32_SOURCES})
target_link_libraries(swarmwin32 PUBLIC swarmpresent gdi32 user32 winmm shell32 ole32 uuid psapi)

# The game's data beside the programs, as the package has it.
set(SWARM_DATA_DIR ${CMAKE_BINARY_DIR}/data)
set(swarm_data_outputs)
foreach(file ${SWARM_DATA_FILES})
  add_custom_command(OUTPUT ${SWARM_DATA_DIR}/${file}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${SWARM_NATIVE_DATA_DIR}/${file}
      ${SWARM_DATA_DIR}/${file}
    DEPENDS ${SWARM_NATIVE_DATA_DIR}/${file}
    COMMENT "Taking ${file} from the native build"
    VERBATIM)
  list(APPEND swarm_data_outputs ${SWARM_DATA_DIR}/${file})
endforeach()
add_custom_target(gamedata ALL DEPENDS ${swarm_data_outputs})

# swarm-replay.exe: the replay tool, a console program, writing its PNGs
# without zlib or libpng.
file(GLOB SWARM_REPLAY_SOURCES CONFIGURE_DEPENDS tools/replay/*.cpp)
add_executable(swarm-replay ${SWARM_REPLAY_SOURCES} tools/common/png_write_stored.cpp)
target_include_directories(swarm-replay PRIVATE tools/replay tools/common)
target_link_libraries(swarm-replay PRIVATE swarmheadless swarmwin32)
set_target_properties(swarm-replay PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
add_dependencies(swarm-replay gamedata)

# ---- swarm.exe, the game on the Win32 host, and its resources (icon,
# version information, manifest) go here. ----
# The icon is the generator's own, made by the native build beside its data.
enable_language(RC)
set(SWARM_ICON_FILE "${SWARM_NATIVE_BUILD_DIR}/icons/swarm.ico")
set(SWARM_MANIFEST_FILE "${CMAKE_BINARY_DIR}/swarm.manifest")
set(SWARM_VERSION_QUAD "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
set(SWARM_VERSION_COMMAS "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")
configure_file(src/host/win32/swarm.manifest ${SWARM_MANIFEST_FILE} @ONLY)
configure_file(src/host/win32/swarm.rc.in ${CMAKE_BINARY_DIR}/swarm.rc @ONLY)
set_source_files_properties(${CMAKE_BINARY_DIR}/swarm.rc PROPERTIES
  OBJECT_DEPENDS "${SWARM_ICON_FILE};${SWARM_MANIFEST_FILE}")
add_executable(swarm WIN32 src/host/win32/main.cpp ${CMAKE_BINARY_DIR}/swarm.rc)
target_link_libraries(swarm PRIVATE swarmwin32)
if(SWARM_FRAME_STATS)
  target_compile_definitions(swarm PRIVATE SWARM_FRAME_STATS=1)
endif()
set_target_properties(swarm PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
add_dependencies(swarm gamedata)
# A copy beside the data, to play from the build: wine build-win/data/swarm.exe
add_custom_command(TARGET swarm POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:swarm> ${SWARM_DATA_DIR}/
  VERBATIM)

if(SWARM_TESTS)
  enable_testing()
  add_subdirectory(tests/windows)
endif()
