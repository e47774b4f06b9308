# SPDX-FileCopyrightText: The Verbolin developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Thin wrapper over CMake: every target installs what is missing first.
BUILD ?= build
ASAN_BUILD ?= build-asan
BENCH_BUILD ?= build-bench
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
# One libFuzzer target per rule; each has its seed corpus in fuzz/corpus/<target>/.
FUZZ_TARGETS ?= fuzz_line_check fuzz_counter_parser fuzz_list_reader fuzz_csv_reader fuzz_kvtml_reader
JOBS ?= $(shell nproc)

.PHONY: deps configure build run test test-asan bench fuzz screenshots validate package install clean

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/verbolin

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

test-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVERBOLIN_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0 \
	  ctest --output-on-failure -j $(JOBS)

# The desktop entry and the AppStream metainfo, through their validators.
validate: configure
	@cmake --build $(BUILD) --target validate

# The .deb, left in $(BUILD)/ and checked: its files, versions, dependencies and lintian.
package: build
	@bash scripts/check-package.sh $(BUILD)

# PREFIX=/usr/local by default; DESTDIR is honoured.
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# PNGs of the real program's screens under Xvfb, into docs/screenshots/.
screenshots: build
	@bash scripts/screenshots.sh $(BUILD)/verbolin docs/screenshots

# Speed and memory against the limits, in a Release build of its own; prints one table.
bench: deps
	@cmake -S bench -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BENCH_BUILD) -j $(JOBS)
	./$(BENCH_BUILD)/verbolin_bench

# Each target runs for FUZZ_SECONDS under ASan and UBSan; what it learns goes to fuzz/out/<target>
# (not committed), a failing input to fuzz/out/<target>-crash-*.
fuzz: deps
	@cmake -S fuzz -B $(FUZZ_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@for target in $(FUZZ_TARGETS); do \
	  echo "fuzzing $$target for $(FUZZ_SECONDS) s"; \
	  mkdir -p fuzz/out/$$target && \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ./$(FUZZ_BUILD)/$$target -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	    -artifact_prefix=fuzz/out/$$target- fuzz/out/$$target fuzz/corpus/$$target \
	    2>fuzz/out/$$target.log || { tail -40 fuzz/out/$$target.log; exit 1; }; \
	  grep -h '^stat::number_of_executed_units' fuzz/out/$$target.log; \
	done

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD)
