# Front end: `make run` builds and starts Vimo, `make test` builds and runs every test.
# Both first install what is missing (scripts/install-deps.sh).
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test bench sanitize clean

all: build

deps:
	./scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/vimo

test: build
	cd $(BUILD) && ctest -j $(JOBS) --output-on-failure

bench: build
	./bench/run.sh $(BUILD)

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize:
	$(MAKE) test BUILD=build-asan BUILD_TYPE=Debug CMAKE_FLAGS=-DVIMO_SANITIZE=ON

clean:
	rm -rf $(BUILD) build-asan
