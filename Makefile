# Thin wrapper over CMake: every target installs what is missing first.
BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_SECONDS ?= 60
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

# The .deb, checked for its files and dependencies.
package: build
	@bash scripts/check-package.sh $(BUILD)

# PREFIX=/usr/local by default; DESTDIR is honoured.
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# PNGs of the real program's screens under Xvfb, into docs/screenshots/.
screenshots: build
	@bash scripts/screenshots.sh $(BUILD)/verbolin docs/screenshots

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
