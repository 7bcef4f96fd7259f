# Tarvex: the two commands.
#   make run   installs what is missing, builds, starts the program on the demo data
#   make test  installs what is missing, builds, runs every test
#   make package  the Debian package build/tarvex_<version>_<arch>.deb
JOBS  ?= $(shell nproc 2>/dev/null || echo 2)
BUILD ?= build
CHECK ?= build-check
CHECKGCC ?= build-check-gcc
WINEBUILD ?= build-wine

.PHONY: all deps build check-build check-gcc check-windows check-wine test run bench package clean

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

# The core tests again with g++, the compiler of the Windows build, under the
# same sanitizers: the two compilers do not order or fold the same code alike,
# and undefined behaviour that one hides the other may show.
check-gcc: deps
	cmake -S . -B $(CHECKGCC) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=g++ \
	      -DTARVEX_UI=OFF -DTARVEX_BENCH=OFF -DTARVEX_SANITIZE=ON -DTARVEX_FUZZ=OFF
	cmake --build $(CHECKGCC) -j $(JOBS)

# The core must build on Windows, where the workshops run the program: it is
# built with MinGW (cmake/mingw.cmake), warnings as errors. The windows and
# the platform layer need a Windows Qt to link, which Debian has not: they are
# compiled for syntax only, against Debian's Qt headers (scripts/syntaxe-windows).
check-windows: deps
	cmake -S . -B $(WINEBUILD) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw.cmake -DCMAKE_BUILD_TYPE=Debug \
	      -DCMAKE_CXX_FLAGS=-Werror -DTARVEX_UI=OFF -DTARVEX_BENCH=OFF -DTARVEX_SANITIZE=OFF -DTARVEX_FUZZ=OFF
	cmake --build $(WINEBUILD) -j $(JOBS) --target tarvex_core
	JOBS=$(JOBS) scripts/syntaxe-windows

# ...and its tests run as Windows programs under Wine (scripts/wine-run), so
# that the Windows branches of the storing code run in every test run, not
# only compile.
check-wine: check-windows
	cmake --build $(WINEBUILD) -j $(JOBS)
	cd $(WINEBUILD) && ctest --output-on-failure --timeout 900

test: build check-build check-gcc check-wine
	scripts/verifier-inclusions
	scripts/verifier-noms
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	cd $(CHECK) && ctest --output-on-failure -j $(JOBS)
	cd $(CHECKGCC) && ctest --output-on-failure -j $(JOBS)

run: build
	scripts/run-demo $(BUILD)

package: build
	cmake --build $(BUILD) --target package

bench: build
	scripts/run-benchmarks $(BUILD)

clean:
	rm -rf $(BUILD) $(CHECK) $(CHECKGCC) $(WINEBUILD)
