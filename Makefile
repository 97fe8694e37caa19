# Quorrel: `make run` starts the desktop program, `make test` runs every test,
# `make bench` runs the benchmark programs. Each installs missing packages first.
# `make install PREFIX=DIR` installs the programs under DIR, `make package` builds the .deb.
BUILD_DIR ?= build
BUILD_TYPE ?= Release
JOBS ?= 2
PREFIX ?= /usr/local

.PHONY: all deps configure build run test bench clean install package

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@$(BUILD_DIR)/src/app/quorrel

test: build
	@cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The engine benchmark, whole runs through the drivers, then the desktop program against
# the batch runner (offscreen).
bench: build
	@$(BUILD_DIR)/bench/quorrel-bench
	@$(BUILD_DIR)/bench/quorrel-run-bench
	@QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bench/quorrel-desktop-bench

# cmake --install: programs, desktop entry, icon, metainfo, man pages and README under PREFIX.
install: build
	@cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# The Debian package $(BUILD_DIR)/quorrel_<version>_<arch>.deb (CPack).
package: build
	@cd $(BUILD_DIR) && cpack

clean:
	rm -rf $(BUILD_DIR)
