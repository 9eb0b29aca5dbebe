# Quick start: `make test` builds and runs every test; `make run` runs a shipped example.
BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
JOBS ?= $(shell nproc)
# Seconds of fuzzing per target for `make fuzz`.
FUZZ_SECONDS ?= 60
FUZZ_TARGETS = project_load module_load runtime_load csv_read udp_datagram

.PHONY: deps configure build test test-asan fuzz fuzz-build bench run screenshots clean

deps:
	@tools/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# Every test but the GUI's, built with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer; the first finding fails its test.
test-asan: deps
	@CC=clang CXX=clang++ cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	  -DCMAKE_C_FLAGS_DEBUG="-O1 -gline-tables-only" -DCMAKE_CXX_FLAGS_DEBUG="-O1 -gline-tables-only" \
	  -DZOR2_SANITIZE=ON -DZOR2_BUILD_GUI=OFF -DZOR2_BUILD_BENCH=OFF >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1 \
	  UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

fuzz-build: deps
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	  -DCMAKE_C_FLAGS_DEBUG="-O1 -gline-tables-only" -DCMAKE_CXX_FLAGS_DEBUG="-O1 -gline-tables-only" \
	  -DZOR2_FUZZ=ON -DZOR2_BUILD_GUI=OFF -DZOR2_BUILD_BENCH=OFF >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS)

# Each fuzz target runs its seed corpus, then fuzzes for FUZZ_SECONDS; what it
# finds new goes to $(FUZZ_BUILD)/corpus/<target>, a crash to $(FUZZ_BUILD)/crashes.
fuzz: fuzz-build
	@for t in $(FUZZ_TARGETS); do \
	  tools/run-fuzzer.sh $(FUZZ_BUILD) $$t $(FUZZ_SECONDS) || exit 1; \
	done

# Every benchmark program, one after the other, then the table of the speed
# targets from their results (kept in $(BUILD)/bench/results).
bench: build
	@mkdir -p $(BUILD)/bench/results
	@for b in $(BUILD)/bench/zor2_bench_*; do echo "== $$b"; \
	  $$b --benchmark_out=$(BUILD)/bench/results/$$(basename $$b).json --benchmark_out_format=json || exit 1; \
	done
	@python3 bench/summary.py $(BUILD)/bench/results

# With a display, open the designer on a shipped example; without one, run the
# example headless and print its outputs.
run: build
	@if { [ -n "$$DISPLAY" ] || [ -n "$$WAYLAND_DISPLAY" ]; } && [ -x $(BUILD)/designer/gui/zor21 ]; then \
	  $(BUILD)/designer/gui/zor21 examples/accumulator.zr2; \
	else \
	  echo "examples/accumulator.zr2, 5 cycles at 10 per second (cycle, then each system output by id):"; \
	  $(BUILD)/tools/zor21-cli run examples/accumulator.zr2 --cycles 5; \
	fi

# The module pictures of the examples in docs/examples/, each after the cycles
# given here; run from the repository root, where the examples find their data.
EXAMPLE_SHOTS = tone_detector:1 vowel_classifier:3 thermostat:20 sensor_log:24 digit_display:9 homing:11
screenshots: configure
	@cmake --build $(BUILD) -j $(JOBS) --target zor2-screenshot
	@mkdir -p docs/examples
	@for shot in $(EXAMPLE_SHOTS); do name=$${shot%%:*}; cycles=$${shot##*:}; inputs=; \
	  if [ -f examples/$${name}_inputs.csv ]; then inputs="--inputs examples/$${name}_inputs.csv"; fi; \
	  $(BUILD)/designer/gui/zor2-screenshot examples/$$name.zr2 docs/examples/$$name.png --cycles $$cycles $$inputs \
	    || exit 1; \
	done

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
