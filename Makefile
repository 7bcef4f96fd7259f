# Tarvex: the two commands.
#   make run   installs what is missing, builds, starts the program on the demo data
#   make test  installs what is missing, builds, runs every test
JOBS  ?= $(shell nproc 2>/dev/null || echo 2)
BUILD ?= build
CHECK ?= build-check

.PHONY: all deps build check-build test run bench clean

all: build

deps:
	@scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVEX_UI=ON -DTARVEX_BENCH=ON -DTARVEX_SANITIZE=OFF -DTARVEX_FUZZ=OFF
	cmake --build $(BUILD) -j $(JOBS)

# The core again with clang, under AddressSanitizer and UndefinedBehaviorSanitizer,
# with the fuzz targets.
check-build: deps
	cmake -S . -B $(CHECK) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
	      -DTARVEX_UI=OFF -DTARVEX_BENCH=OFF -DTARVEX_SANITIZE=ON -DTARVEX_FUZZ=ON
	cmake --build $(CHECK) -j $(JOBS)

test: build check-build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	cd $(CHECK) && ctest --output-on-failure -j $(JOBS)

run: build
	scripts/run-demo $(BUILD)

bench: build
	scripts/run-benchmarks $(BUILD)

clean:
	rm -rf $(BUILD) $(CHECK)
