# Swarm!: the two commands a new user needs.
#   make run   installs what building and playing need, builds the game and
#              its data (no tests) and plays
#   make test  installs the test tools too, builds everything and runs every
#              test headless
# The high score is kept in $XDG_DATA_HOME/swarm (~/.local/share/swarm), as
# for the installed game, so `make clean` leaves it alone.
BUILD ?= build
JOBS  ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS = -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps test-deps configure build run test clean

all: build

deps:
	@scripts/install-deps.sh play

test-deps:
	@scripts/install-deps.sh test

# A new build directory is made without the tests; `make test` turns them on.
configure: deps
	@test -f $(BUILD)/CMakeCache.txt || cmake -S . -B $(BUILD) $(CMAKE_FLAGS) -DSWARM_TESTS=OFF

build: configure
	cmake --build $(BUILD) -j$(JOBS)

run: configure
	cmake --build $(BUILD) -j$(JOBS) --target swarm gamedata
	$(BUILD)/run/swarm

test: test-deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS) -DSWARM_TESTS=ON
	cmake --build $(BUILD) -j$(JOBS)
	BUILD=$(BUILD) JOBS=$(JOBS) scripts/run-tests.sh

clean:
	rm -rf $(BUILD) build-sanitize build-fuzz
