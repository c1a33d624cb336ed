# The two set-up commands: `make run` and `make test`. Both install what they
# need on first use (scripts/bootstrap).
SHELL := /bin/bash
JOBS ?= $(shell nproc)
NATIVE := build/native
WINDOWS := build/windows

.PHONY: all bootstrap native windows build run test clean

all: build

bootstrap:
	@scripts/bootstrap

native: bootstrap
	@cmake -S . -B $(NATIVE) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

windows: bootstrap
	@cmake -S . -B $(WINDOWS) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(WINDOWS) -j $(JOBS)

build: native windows
	@printf 'subdirs("native" "windows")\n' > build/CTestTestfile.cmake

# Every test of both builds in one CTest run, so one closing line counts them all.
test: build
	@scripts/wine-env ctest --test-dir build --output-on-failure -j $(JOBS) --timeout 300

run: build
	@scripts/run

clean:
	rm -rf build

# Benchmarks print figures; they assert nothing.
.PHONY: bench
bench: build
	@scripts/wine-env scripts/wine-run build/windows/bench/bench_exec_wait.exe --compare
