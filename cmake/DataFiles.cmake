# The build's list of the game's data files: what it expects swarm-assetgen to
# make into SWARM_DATA_DIR, and what is installed and packaged and what the
# tests, benchmarks and the browser site copy. The C++ code names each file
# where it reads or writes it (the picture loader, the sound table in
# sound/sound_effects.h, the generator); the tests fail when the generator
# does not make a file of this list.
set(SWARM_DATA_FILES
    graphics.dat PlayerShot.wav EnemyShot.wav EExplode.wav XtraLife.wav PExplode.wav
    swarm-icon.bmp)
# The sizes of the PNG icons for the desktop, made beside the data.
set(SWARM_ICON_SIZES 32 48 64 128 256)

# The data files as one string of words (the launcher, the tests).
string(REPLACE ";" " " SWARM_DATA_FILE_WORDS "${SWARM_DATA_FILES}")

# The same lists for scripts (tests, benchmarks), one name per line, in the
# build tree: data-files.txt and icon-sizes.txt.
string(REPLACE ";" "\n" swarm_lines "${SWARM_DATA_FILES}")
file(WRITE ${CMAKE_BINARY_DIR}/data-files.txt "${swarm_lines}\n")
string(REPLACE ";" "\n" swarm_lines "${SWARM_ICON_SIZES}")
file(WRITE ${CMAKE_BINARY_DIR}/icon-sizes.txt "${swarm_lines}\n")
