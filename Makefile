# Quick start: `make test` builds and runs every test; `make run` runs a shipped example.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: deps configure build test bench run clean

deps:
	@tools/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# Every benchmark program, one after the other.
bench: build
	@for b in $(BUILD)/bench/zor2_bench_*; do echo "== $$b"; $$b || exit 1; done

# With a display, open the designer on a shipped example; without one, run the
# example headless and print its outputs.
run: build
	@if { [ -n "$$DISPLAY" ] || [ -n "$$WAYLAND_DISPLAY" ]; } && [ -x $(BUILD)/designer/gui/zor21 ]; then \
	  $(BUILD)/designer/gui/zor21 examples/accumulator.zr2; \
	else \
	  echo "examples/accumulator.zr2, 5 cycles at 10 per second (cycle, then each system output by id):"; \
	  $(BUILD)/tools/zor21-cli run examples/accumulator.zr2 --cycles 5; \
	fi

clean:
	rm -rf $(BUILD)
