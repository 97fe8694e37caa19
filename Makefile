# Quorrel: `make run` starts the desktop program, `make test` runs every test,
# `make bench` runs the benchmark programs. Each installs missing packages first.
# `make install PREFIX=DIR` installs the programs under DIR, `make package` builds the .deb.
BUILD_DIR ?= build
BUILD_TYPE ?= Release
JOBS ?= 2
PREFIX ?= /usr/local

SANITIZE_DIR ?= build-sanitize
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS = ParameterFile OptionsFile LandscapeText TidyParameterListing TidyStatisticsFile TidyOutcomeFile \
	TidyMonteCarloResult TidyRunRecord

.PHONY: all deps configure build run test bench clean install package test-sanitize fuzz test-cluster

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

# The whole test suite under AddressSanitizer and UndefinedBehaviorSanitizer, in its own
# build folder; any report fails the test that met it.
test-sanitize: deps
	@cmake -S . -B $(SANITIZE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" >/dev/null
	@cmake --build $(SANITIZE_DIR) -j $(JOBS)
	@cd $(SANITIZE_DIR) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	    UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

# Each reader's libFuzzer target (clang, with ASan and UBSan) for FUZZ_SECONDS, from the
# committed seeds and regression inputs; what it finds goes to $(FUZZ_DIR)/found/TARGET.
# An input that breaks a reader belongs in tests/fuzz/regressions/TARGET once mended.
fuzz: deps
	@cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	    -DQUORREL_FUZZ=ON -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all" >/dev/null
	@cmake --build $(FUZZ_DIR) -j $(JOBS) --target $(addprefix fuzz_,$(FUZZ_TARGETS))
	@for t in $(FUZZ_TARGETS); do \
	    mkdir -p $(FUZZ_DIR)/found/$$t $(FUZZ_DIR)/corpus/$$t && \
	    $(FUZZ_DIR)/tests/fuzz/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	        -artifact_prefix=$(FUZZ_DIR)/found/$$t/ $(FUZZ_DIR)/corpus/$$t tests/fuzz/corpus/$$t \
	        $$(ls -d tests/fuzz/regressions/$$t 2>/dev/null) || exit 1; \
	done

# A sweep as a 4-task Slurm job array on a throw-away single-node Slurm of this machine
# (root; installs slurm-wlm and munge), then tidy and a check of the merged study folder.
test-cluster: build
	@scripts/slurm-check $(BUILD_DIR)/src/app/quorrel-batch

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
