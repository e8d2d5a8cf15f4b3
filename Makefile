# The two commands of the README, plus the sanitizer build and the fuzz smoke
# that CI runs.
.PHONY: all deps build run test asan fuzz bench package windows windows-test clean

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

# The Windows program, cross-built against the Qt that scripts/build-qt-windows
# keeps in the cache: build-windows/package/ gets the zip and the installer.
windows:
	scripts/install-deps --windows
	scripts/build-qt-windows
	cmake --preset windows
	cmake --build --preset windows
	cmake --build --preset windows --target windows_package

# The whole Windows suite under wine, the packages' smoke tests included. The
# windows test preset stops any test after two minutes.
windows-test: windows
	ctest --preset windows -j2

bench: build
	build/bench/reckoning_bench

clean:
	rm -rf build build-asan build-fuzz build-windows
