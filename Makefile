# Front end: `make run` builds and starts Vimo, `make test` builds and runs every test.
# Each first installs what it needs and is missing (scripts/install-deps.sh).
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
# Seconds each fuzz target runs in `make fuzz`.
FUZZ_SECONDS ?= 60

CONFIGURE = cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS)
# `make run` configures the tests only when GoogleTest is there, and does
# not warn when it is not: a machine set up to run Vimo has no need of it.
WITH_TESTS = -DVIMO_TESTS=ON
TESTS_IF_THERE = -DVIMO_TESTS=AUTO

.PHONY: all build run test bench fuzz sanitize clean

all: build

# Everything: the program, its library, the tests, the fuzz targets and the benchmarks.
build:
	./scripts/install-deps.sh all
	$(CONFIGURE) $(WITH_TESTS)
	cmake --build $(BUILD) -j $(JOBS)

# The program and the library it loads, and nothing else.
run:
	./scripts/install-deps.sh run
	$(CONFIGURE) $(TESTS_IF_THERE)
	cmake --build $(BUILD) -j $(JOBS) --target vimo
	$(BUILD)/bin/vimo

test:
	./scripts/install-deps.sh test
	$(CONFIGURE) $(WITH_TESTS)
	cmake --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && ctest -j $(JOBS) --output-on-failure

bench:
	./scripts/install-deps.sh bench
	$(CONFIGURE) $(WITH_TESTS)
	cmake --build $(BUILD) -j $(JOBS)
	./bench/run.sh $(BUILD)

# Fuzzes every target for FUZZ_SECONDS, as many at once as JOBS.
fuzz:
	./scripts/install-deps.sh test
	$(CONFIGURE) $(WITH_TESTS)
	FUZZ_SECONDS=$(FUZZ_SECONDS) cmake --build $(BUILD) -j $(JOBS) --target fuzz

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize:
	$(MAKE) test BUILD=build-asan BUILD_TYPE=Debug CMAKE_FLAGS=-DVIMO_SANITIZE=ON

clean:
	rm -rf $(BUILD) build-asan
