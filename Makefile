# The two set-up commands: `make run` and `make test`. Both install what they
# need on first use (scripts/bootstrap).
SHELL := /bin/bash
JOBS ?= $(shell nproc)
NATIVE := build/native
WINDOWS := build/windows
SANITIZE := build/sanitize

.PHONY: all bootstrap native windows sanitize build run test clean fuzz dist format

all: build

bootstrap:
	@scripts/bootstrap

native: bootstrap
	@cmake -S . -B $(NATIVE) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

windows: bootstrap
	@cmake -S . -B $(WINDOWS) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(WINDOWS) -j $(JOBS)

# The native tests again under AddressSanitizer and UndefinedBehaviorSanitizer,
# and the fuzz targets, built with clang.
sanitize: bootstrap
	@CC=clang CXX=clang++ cmake -S . -B $(SANITIZE) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVRK_SANITIZE=ON >/dev/null
	@cmake --build $(SANITIZE) -j $(JOBS)

build: native windows sanitize
	@printf 'subdirs("native" "windows" "sanitize")\n' > build/CTestTestfile.cmake

# Every test of both builds in one CTest run, so one closing line counts them all.
test: build
	@scripts/wine-env ctest --test-dir build --output-on-failure -j $(JOBS) --timeout 300

run: build
	@scripts/run

# Formats the C and C++ code as .clang-format says (make test checks it).
format: bootstrap
	@git ls-files '*.cpp' '*.h' '*.c' | xargs clang-format -i

# The drop-in package for bundle makers (made by every windows build).
dist: windows
	@ls build/dist/vrk-*-win64.zip

clean:
	rm -rf build

# Pictures of every view, to hold a change that must leave the screens as they
# were against the pictures from before it: make screenshots SHOTS=<folder>,
# then scripts/compare-screenshots <before> <after>. Not part of `make test`.
SHOTS ?= build/screenshots/views
.PHONY: screenshots
screenshots: windows
	@scripts/screenshots $(SHOTS)

# Benchmarks print figures; they assert nothing.
.PHONY: bench
bench: build
	@scripts/wine-env scripts/wine-run build/windows/bench/bench_exec_wait.exe --compare

# A longer fuzz run of every target: make fuzz FUZZ_SECONDS=600
FUZZ_SECONDS ?= 600
fuzz: sanitize
	@for t in ini_fuzz picture_fuzz; do mkdir -p $(SANITIZE)/tests/fuzz/corpus/$$t; \
	  $(SANITIZE)/tests/fuzz/$$t -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=1024 -max_len=65536 \
	    $(SANITIZE)/tests/fuzz/corpus/$$t tests/fuzz/corpus/$$t || exit 1; done
