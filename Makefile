# SPDX-License-Identifier: MIT
# Thin wrapper over CMake: `make run` starts the application, `make test` runs the tests.
BUILD ?= build
PREFIX ?= $(HOME)/.local
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
export CCACHE_DIR ?= $(HOME)/.cache/ccache
export CCACHE_SLOPPINESS = pch_defines,time_macros,include_file_mtime,include_file_ctime
export CCACHE_BASEDIR = $(CURDIR)

.PHONY: all deps configure build run test bench clean format-check install uninstall install-check fuzz soak

all: build

deps:
	@bash tools/install-deps.sh

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

configure: $(BUILD)/CMakeCache.txt

build: deps configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@bash tools/run-app.sh $(BUILD)/bin/tarnwell

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B $(BUILD)-bench -DCMAKE_BUILD_TYPE=Release -DTARNWELL_BENCH=ON $(CMAKE_FLAGS)
	cmake --build $(BUILD)-bench -j $(JOBS)
	@for b in $(BUILD)-bench/bin/bench_*; do echo "== $$b"; $$b --benchmark_repetitions=5 --benchmark_report_aggregates_only=true; done

# Per-user install: program, runner, catalogue and settings in $(PREFIX)/lib/tarnwell, the launcher
# in $(PREFIX)/bin, a menu entry and icon under $(PREFIX)/share. The user's catalogue and settings
# are never replaced, and uninstall keeps them.
install: build
	@bash tools/install.sh install $(BUILD) $(PREFIX)

uninstall:
	@bash tools/install.sh uninstall $(PREFIX)

# Installs into a throw-away home folder, starts the installed program, uninstalls.
install-check: build
	@bash tools/check-install.sh $(BUILD)

# libFuzzer targets in their own clang build (only the readers' libraries), each run FUZZ_RUNS
# times from its seed corpus with a fixed seed.
FUZZ_RUNS ?= 20000
fuzz: deps
	CC=clang-14 CXX=clang++-14 cmake -S . -B $(BUILD)-fuzz -DTARNWELL_FUZZ=ON $(CMAKE_FLAGS)
	cmake --build $(BUILD)-fuzz -j $(JOBS) --target fuzzers
	bash tools/run-fuzz.sh $(BUILD)-fuzz $(FUZZ_RUNS)

# The soak under ASan, UBSan and LeakSanitizer: 10^6 time units with random edits between cycles.
SOAK_UNITS ?= 1000000
soak: deps
	cmake -S . -B $(BUILD)-asan -DTARNWELL_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug $(CMAKE_FLAGS)
	cmake --build $(BUILD)-asan -j $(JOBS) --target test_soak
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tools/lsan.supp:print_suppressions=0 \
	  QT_QPA_PLATFORM=offscreen TARNWELL_SOAK_UNITS=$(SOAK_UNITS) $(BUILD)-asan/bin/test_soak

format-check: deps
	@bash tools/check-format.sh

clean:
	rm -rf $(BUILD) $(BUILD)-bench $(BUILD)-asan $(BUILD)-fuzz
