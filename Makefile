# Tarvex: the two commands.
#   make run   installs what is missing, builds, starts the program on the demo data
#   make test  installs what is missing, builds, runs every test
JOBS  ?= $(shell nproc 2>/dev/null || echo 2)
BUILD ?= build
CHECK ?= build-check
CHECKGCC ?= build-check-gcc

.PHONY: all deps build check-build check-gcc check-windows test run bench clean

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

# The core must build on Windows, where the workshops run the program: its
# sources are compiled for Windows with MinGW (the Qt part needs a Windows Qt).
# dtl is header-only: the Debian headers serve MinGW too, seen alone.
check-windows: deps
	@mkdir -p $(CHECK)/mingw-include && ln -sfn /usr/include/dtl $(CHECK)/mingw-include/dtl
	@for f in $$(sed -n 's|^ *\(src/[a-z]*/[a-z_]*\.cpp\)$$|\1|p' CMakeLists.txt); do \
	    x86_64-w64-mingw32-g++-posix -std=c++20 -Wall -Wextra -Werror -Isrc -isystem $(CHECK)/mingw-include \
	        -fsyntax-only $$f || exit 1; \
	done
	@echo "core: builds for Windows"

test: build check-build check-gcc check-windows
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	cd $(CHECK) && ctest --output-on-failure -j $(JOBS)
	cd $(CHECKGCC) && ctest --output-on-failure -j $(JOBS)

run: build
	scripts/run-demo $(BUILD)

bench: build
	scripts/run-benchmarks $(BUILD)

clean:
	rm -rf $(BUILD) $(CHECK) $(CHECKGCC)
