# Convenience front end; the real build is CMake + Ninja.
BUILD ?= build
ASAN_BUILD ?= build-asan
DEMO ?= data/demo.xer
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all setup configure build run test sanitize bench clean

all: build

setup:
	@sh tools/setup-debian.sh

configure: setup
	@test -f $(BUILD)/build.ninja || cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -- -j2

run: build
	$(BUILD)/bin/plandeck $(DEMO)

test: build
	cd $(BUILD) && ctest --output-on-failure -j2

sanitize: setup
	@test -f $(ASAN_BUILD)/build.ninja || cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPLANDECK_SANITIZE=ON -DPLANDECK_BUILD_BENCH=OFF
	cmake --build $(ASAN_BUILD) -- -j2
	cd $(ASAN_BUILD) && ctest --output-on-failure -j2

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
