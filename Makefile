# Swarm!: the two commands a new user needs.
#   make run   installs what building and playing need, builds the game and
#              its data (no tests) and plays
#   make test  installs the test tools too, builds everything (the browser
#              version too) and runs every test headless
#   make web   builds the browser version: the site in build-web/site
#   make web-replay  that and the driver of Chromium that swarm-web-replay
#              needs, fetched from the npm registry
#   make windows  the Windows version, cross-built with MinGW-w64: in
#              build-win, swarm-win.zip, the installer swarm-setup.exe and
#              swarm-replay.exe (SKIP_WINDOWS=1 leaves it out of make test)
# The high score is kept in $XDG_DATA_HOME/swarm (~/.local/share/swarm), as
# for the installed game, so `make clean` leaves it alone.
BUILD ?= build
WEB_BUILD ?= build-web
WIN_BUILD ?= build-win
JOBS  ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS = -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps test-deps web-deps windows-deps configure build run web web-build web-replay \
	windows windows-build test clean

all: build

deps:
	@scripts/install-deps.sh play

test-deps:
	@scripts/install-deps.sh test

web-deps:
	@scripts/install-deps.sh web

windows-deps:
	@scripts/install-deps.sh windows

# A new build directory is made without the tests; `make test` turns them on.
configure: deps
	@test -f $(BUILD)/CMakeCache.txt || cmake -S . -B $(BUILD) $(CMAKE_FLAGS) -DSWARM_TESTS=OFF

build: configure
	cmake --build $(BUILD) -j$(JOBS)

run: configure
	cmake --build $(BUILD) -j$(JOBS) --target swarm gamedata
	$(BUILD)/run/swarm

# The browser version: Debian's Emscripten with the data that the native
# generator makes. Its Node.js tools find their modules under
# /usr/share/nodejs only when told.
web: web-deps configure web-build
	@echo
	@echo "The site is in $(WEB_BUILD)/site (zipped: $(WEB_BUILD)/swarm-web.zip). To play it here:"
	@echo "    python3 -m http.server -d $(WEB_BUILD)/site 8000"
	@echo "then open http://127.0.0.1:8000 in a browser."

# swarm-web-replay, swarm-replay in headless Chromium: the browser build and
# the driver of Chromium, playwright-core, from the npm registry (which the
# site itself never needs).
web-replay: web-deps configure web-build
	cmake --build $(WEB_BUILD) --target node-modules
	@echo
	@echo "swarm-web-replay is $(WEB_BUILD)/swarm-web-replay; it takes swarm-replay's arguments."

web-build: export NODE_PATH := /usr/share/nodejs$(if $(NODE_PATH),:$(NODE_PATH))
web-build:
	cmake --build $(BUILD) -j$(JOBS) --target gamedata
	emcmake cmake -S . -B $(WEB_BUILD) -DCMAKE_BUILD_TYPE=Release \
		-DSWARM_NATIVE_DATA_DIR=$(abspath $(BUILD))/data > /dev/null
	cmake --build $(WEB_BUILD) -j$(JOBS)

# The Windows version: MinGW-w64's compilers with the data that the native
# generator makes, which runs on this machine. Its tests (under Wine) are
# built by `make test` only.
WIN_TESTS ?= OFF
windows: windows-deps configure windows-build
	@echo
	@echo "In $(WIN_BUILD): swarm-win.zip (unzip and run Swarm/swarm.exe), the installer"
	@echo "swarm-setup.exe, and swarm-replay.exe."

windows-build:
	cmake --build $(BUILD) -j$(JOBS) --target gamedata
	cmake -S . -B $(WIN_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
		-DCMAKE_BUILD_TYPE=Release -DSWARM_TESTS=$(WIN_TESTS) \
		-DSWARM_NATIVE_DATA_DIR=$(abspath $(BUILD))/data > /dev/null
	cmake --build $(WIN_BUILD) -j$(JOBS)

test: test-deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS) -DSWARM_TESTS=ON
	cmake --build $(BUILD) -j$(JOBS)
	@$(MAKE) --no-print-directory web-build
	@[ "$(SKIP_WINDOWS)" = 1 ] || $(MAKE) --no-print-directory windows-build WIN_TESTS=ON
	BUILD=$(BUILD) WEB_BUILD=$(WEB_BUILD) WIN_BUILD=$(WIN_BUILD) JOBS=$(JOBS) scripts/run-tests.sh

clean:
	rm -rf $(BUILD) $(WEB_BUILD) $(WIN_BUILD) build-sanitize build-fuzz
