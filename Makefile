# Quorrel: `make run` starts the desktop program, `make test` runs every test,
# `make bench` runs the benchmark programs. Each installs missing packages first.
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
	@$(BUILD_DIR)/src/app/quorrel

test: build
	@cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The engine benchmark, then the desktop program against the batch runner (offscreen).
bench: build
	@$(BUILD_DIR)/bench/quorrel-bench
	@QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bench/quorrel-desktop-bench

clean:
	rm -rf $(BUILD_DIR)
