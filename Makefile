# Quorrel: `make run` starts the desktop program, `make test` runs every test,
# `make bench` runs the benchmark program. Each installs missing packages first.
BUILD_DIR ?= build
BUILD_TYPE ?= Release
JOBS ?= 2

.PHONY: all deps configure build run test bench clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@if [ -x $(BUILD_DIR)/src/app/quorrel ]; then $(BUILD_DIR)/src/app/quorrel; \
	else echo "The desktop program is not built yet; see README.md."; fi

test: build
	@cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	@if [ -x $(BUILD_DIR)/bench/quorrel-bench ]; then $(BUILD_DIR)/bench/quorrel-bench; \
	else echo "The benchmark program is not built yet."; fi
	@if [ -x $(BUILD_DIR)/bench/quorrel-desktop-bench ]; then \
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bench/quorrel-desktop-bench; fi

clean:
	rm -rf $(BUILD_DIR)
