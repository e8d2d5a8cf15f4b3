# The two commands of the README, plus the sanitizer build and the fuzz smoke
# that CI runs.
.PHONY: all deps build run test asan fuzz bench package clean

KYUSEI := build/mainwindow/kyusei
FUZZER := build-fuzz/fuzz/list_file_fuzzer
FUZZ_RUN := build-fuzz/run
FUZZ_SECONDS ?= 30

all: build

deps:
	scripts/install-deps

build: deps
	cmake --preset default
	cmake --build --preset default

run: build
	$(KYUSEI)

test: build
	ctest --preset default -j2

asan: deps
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan -j2

# Fuzzes the list-file reader for FUZZ_SECONDS on a scratch copy of the committed
# inputs, so the run never changes fuzz/corpus; fails on the first input that
# breaks it, leaving that input in $(FUZZ_RUN)/artifacts.
fuzz: deps
	cmake --preset fuzz
	cmake --build --preset fuzz
	rm -rf $(FUZZ_RUN)
	mkdir -p $(FUZZ_RUN)/corpus $(FUZZ_RUN)/artifacts
	find fuzz/corpus fuzz/crashes -type f ! -name '.*' -exec cp {} $(FUZZ_RUN)/corpus/ \;
	$(FUZZER) -max_total_time=$(FUZZ_SECONDS) -timeout=10 -print_final_stats=1 \
	  -dict=fuzz/list_file.dict -artifact_prefix=$(FUZZ_RUN)/artifacts/ $(FUZZ_RUN)/corpus

package: build
	cmake --build --preset default --target package

bench: build
	build/bench/reckoning_bench

clean:
	rm -rf build build-asan build-fuzz
