# Front door: `make` builds, `make demo` runs the demo, `make test` runs every test.
BUILD   ?= build
CMAKE   ?= cmake
JOBS    ?= $(shell nproc)

.PHONY: all build configure setup demo test bench clean

all: build

$(BUILD)/build.ninja:
	$(CMAKE) -S . -B $(BUILD) -G Ninja

configure: $(BUILD)/build.ninja

build: configure
	$(CMAKE) --build $(BUILD) -j $(JOBS)

setup:
	@scripts/setup

demo: setup build
	@scripts/demo $(BUILD)

test: setup build
	ctest --test-dir $(BUILD) --output-on-failure --no-tests=error -j $(JOBS)

bench: build
	@scripts/bench $(BUILD)

clean:
	rm -rf $(BUILD)
