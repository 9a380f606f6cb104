# The two commands of the README, and the ones around them.
.PHONY: run test bench fuzz bootstrap native windows clean

run: bootstrap native windows
	tools/run-veltrace

test: bootstrap
	tools/run-tests

bench: bootstrap
	tools/run-benchmarks

# A longer fuzzing run of every parser: make fuzz FUZZ_SECONDS=600
FUZZ_SECONDS ?= 300
fuzz: bootstrap
	cmake --preset fuzz >/dev/null && cmake --build --preset fuzz
	VELTRACE_FUZZ_SECONDS=$(FUZZ_SECONDS) ctest --test-dir build/fuzz --output-on-failure

bootstrap:
	tools/bootstrap

native:
	cmake --preset native >/dev/null && cmake --build --preset native

windows:
	cmake --preset windows >/dev/null && cmake --build --preset windows

clean:
	rm -rf build
