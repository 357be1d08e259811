# The commands of the README. `make run` and `make test` install what is
# missing first (scripts/install-deps).
BUILD   ?= build
JOBS    ?= $(shell nproc)
CMAKE_FLAGS ?=
# The build shows its progress, not each sub-make's directory.
MAKEFLAGS += --no-print-directory

.PHONY: all build program deps configure run test dist install package preview screenshots fuzz asan clean windows-deps windows test-windows

all: build

deps:
	@scripts/install-deps

# Configures whenever the build folder holds no generated build system
# (scripts/configure also clears what a failed configure left behind).
configure:
	@scripts/configure $(BUILD) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# The program and its data alone: what make dist, run, install and package
# need (the tests and benchmarks are built by make build and make test).
PROGRAM_TARGETS = zuk_rer1 zuk_data
program: configure
	cmake --build $(BUILD) -j $(JOBS) --target $(PROGRAM_TARGETS)

dist: program
	scripts/make-dist $(BUILD)

# make install [PREFIX=/usr/local] [DESTDIR=staging folder]: the program, its
# data, menu entries, icon, manual page and XScreenSaver description under
# PREFIX (see packaging/CMakeLists.txt for the layout).
PREFIX  ?= /usr/local
install: program
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# make package: the Debian package BUILD/zuk-rer1_<version>_<arch>.deb,
# holding what `make install PREFIX=/usr` installs.
package: program
	cd $(BUILD) && cpack -G DEB

run: deps dist
	scripts/run-local $(BUILD)

test: deps build
	scripts/run-tests $(BUILD)

preview: build
	scripts/make-preview $(BUILD)

screenshots: dist
	scripts/make-screenshots $(BUILD) $(WINDOWS_BUILD)

# Unit tests under AddressSanitizer and UndefinedBehaviorSanitizer.
asan: deps
	@scripts/configure $(BUILD)-asan -DZUK_SANITIZE=ON -DZUK_BENCH=OFF $(CMAKE_FLAGS)
	cmake --build $(BUILD)-asan -j $(JOBS)
	scripts/run-tests $(BUILD)-asan

# Each fuzz target runs FUZZ_SECONDS (make fuzz FUZZ_SECONDS=600 for longer).
FUZZ_SECONDS ?= 30
fuzz: deps
	scripts/run-fuzz $(BUILD)-fuzz $(FUZZ_SECONDS)

# The mingw-w64 cross-compiler, Wine, and static Windows builds of SDL2, FLTK
# and GoogleTest in build-windows/deps (rebuilt only when a version changes).
windows-deps:
	@scripts/install-windows-deps
	scripts/build-windows-deps $(WINDOWS_BUILD)

# make windows: the Windows build in WINDOWS_BUILD, cross-compiled with the
# data (and the zuk-sim to compare with) of the native build BUILD, ending
# with the zip WINDOWS_BUILD/zuk_rer1-<version>-windows-x64.zip.
WINDOWS_BUILD ?= build-windows
WINDOWS_DISPLAY_BASE ?= 240
windows: windows-deps configure
	cmake --build $(BUILD) -j $(JOBS) --target zuk_datagen zuk-sim
	cmake -S . -B $(WINDOWS_BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
	  -DZUK_HOST_TOOLS=$(abspath $(BUILD))/bin -DZUK_BENCH=OFF -DZUK_TEST_DISPLAY_BASE=$(WINDOWS_DISPLAY_BASE) $(WINDOWS_CMAKE_FLAGS)
	cmake --build $(WINDOWS_BUILD) -j $(JOBS)
	@ls -l $(WINDOWS_BUILD)/zuk_rer1-*-windows-x64.zip

# The unit tests under Wine (each program on its own Xvfb), the Windows
# zuk-sim against the native one (zuk_sim_same_as_native), then the
# distribution's end-to-end cases (scripts/test-windows-e2e).
test-windows: windows
	ctest --test-dir $(WINDOWS_BUILD) --output-on-failure
	scripts/test-windows-e2e $(WINDOWS_BUILD)

clean:
	rm -rf $(BUILD) $(BUILD)-asan $(BUILD)-fuzz
