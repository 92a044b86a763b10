# The front door: `make run` and `make test` do all the set-up on a fresh Debian 12 machine.
BUILD ?= build
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test clean examples

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

configure: $(BUILD)/build.ninja

build: deps configure
	cmake --build $(BUILD) -j $(JOBS)

examples: build
	@$(BUILD)/bench/tomefuse-make-examples $(BUILD)/examples >/dev/null

run: examples
	$(BUILD)/src/tomefuse $(BUILD)/examples/*.pdf

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD)
