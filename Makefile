# Top-level commands. Each installs what a new machine lacks, then builds through CMake presets.
JOBS ?= 2

.PHONY: all run test asan tsan docs bench bench-build fuzz fuzz-smoke format clean soak

all: test

# The demo needs only what it runs and what `cmake --install build/release` installs: the
# plug-in, the host stand-in and the tool (with the platform layer under them), not the tests.
RUN_TARGETS = sxfattr sxfhost sxfattr_tool
run:
	scripts/setup.sh build tool
	cmake --preset release >/dev/null
	cmake --build build/release -j$(JOBS) --target $(RUN_TARGETS)
	scripts/run.sh build/release

test:
	scripts/setup.sh build tool
	cmake --preset debug >/dev/null
	cmake --build build/debug -j$(JOBS)
	ctest --test-dir build/debug --output-on-failure -j$(JOBS)

asan:
	scripts/setup.sh build tool
	cmake --preset asan >/dev/null
	cmake --build build/asan -j$(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir build/asan --output-on-failure -j$(JOBS)

# Two drawings loaded, edited and saved on two threads at once, and the platform layer's tests
# (strings, archives, maps, slab memory), under ThreadSanitizer: any data race fails the run.
TSAN_TESTS = test_threads test_platform
tsan:
	scripts/setup.sh build
	cmake --preset tsan >/dev/null
	cmake --build build/tsan -j$(JOBS) --target $(TSAN_TESTS)
	TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 build/tsan/tests/test_threads --gtest_brief=1
	TSAN_OPTIONS=halt_on_error=1 build/tsan/tests/test_platform --gtest_brief=1

# The API reference of the public headers (Doxygen; build/docs/html/index.html). Doxygen fails on
# any warning; the check after it fails when a page the README links to was not made.
docs:
	scripts/setup.sh build docs
	cmake --preset docs >/dev/null
	cmake --build build/docs --target docs
	scripts/check_doc_links.sh build/docs/html

# The performance table, measured in one run and printed at the end (also build/bench/table.txt).
# bench-build builds everything the table runs (CI builds it so the table's build cannot break
# unseen): the driver, its self-test, the chain-only baseline, the map comparison and the tool,
# whose whole-process rows the table measures.
BENCH_TARGETS = bench_selftest bench_table bench_table_chain bench_cmap sxfattr_tool
bench-build:
	scripts/setup.sh build tool bench
	cmake --preset bench >/dev/null
	cmake --build build/bench -j$(JOBS) --target $(BENCH_TARGETS)

bench: bench-build
	scripts/bench.sh build/bench

# Fuzz targets of the record readers, the section readers and the import command's JSON reader
# (clang, ASan, UBSan; the JSON target needs the tool's packages): each runs on a copy of its seed
# corpus and the run fails on the first finding. fuzz-smoke gives each target FUZZ_SMOKE_SECONDS
# (30 s; CI passes 10), fuzz 10 minutes.
FUZZ_SMOKE_SECONDS ?= 30
fuzz-smoke:
	scripts/setup.sh build tool fuzz
	cmake --preset fuzz >/dev/null
	cmake --build build/fuzz -j$(JOBS) --target fuzz_targets
	scripts/fuzz.sh build/fuzz $(FUZZ_SMOKE_SECONDS)

fuzz:
	scripts/setup.sh build tool fuzz
	cmake --preset fuzz >/dev/null
	cmake --build build/fuzz -j$(JOBS) --target fuzz_targets
	scripts/fuzz.sh build/fuzz 600

# Long random editing runs (SOAK_SEQUENCES of 200 steps) in an optimised build with the sanitizers.
SOAK_SEQUENCES ?= 2000
soak:
	scripts/setup.sh build tool
	cmake -S . -B build/soak -DCMAKE_BUILD_TYPE=Release -DSXF_SANITIZE=ON >/dev/null
	cmake --build build/soak -j$(JOBS) --target test_reliability
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  SXF_SOAK_SEQUENCES=$(SOAK_SEQUENCES) build/soak/tests/test_reliability

format:
	scripts/setup.sh format
	find src tests tools bench fuzz -name '*.h' -o -name '*.cpp' | xargs clang-format -i

clean:
	rm -rf build
