# Swarm!: the two commands a new user needs.
#   make run   installs what is missing, builds, makes the data and plays
#   make test  installs what is missing, builds and runs every test headless
BUILD ?= build
JOBS  ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps build run test clean

all: build

deps:
	@scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS)

run: build
	cd $(BUILD)/data && ../swarm

test: build
	BUILD=$(BUILD) JOBS=$(JOBS) scripts/run-tests.sh

clean:
	rm -rf $(BUILD) build-sanitize build-fuzz
