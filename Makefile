# The commands of the README. `make run` and `make test` install what is
# missing first (scripts/install-deps).
BUILD   ?= build
JOBS    ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all build deps configure run test dist preview screenshots fuzz asan clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

configure: $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

dist: build
	scripts/make-dist $(BUILD)

run: deps dist
	scripts/run-local $(BUILD)

test: deps build
	scripts/run-tests $(BUILD)

preview: build
	scripts/make-preview $(BUILD)

screenshots: dist
	scripts/make-screenshots $(BUILD)

# Unit tests under AddressSanitizer and UndefinedBehaviorSanitizer.
asan: deps
	cmake -S . -B $(BUILD)-asan -DZUK_SANITIZE=ON -DZUK_BENCH=OFF
	cmake --build $(BUILD)-asan -j $(JOBS)
	scripts/run-tests $(BUILD)-asan

fuzz: deps
	scripts/run-fuzz $(BUILD)-fuzz

clean:
	rm -rf $(BUILD) $(BUILD)-asan $(BUILD)-fuzz
