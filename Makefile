# The two commands of the README, plus the sanitizer build that CI runs.
.PHONY: all deps build run test asan bench package clean

KYUSEI := build/mainwindow/kyusei

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

package: build
	cmake --build --preset default --target package

bench: build
	build/bench/reckoning_bench

clean:
	rm -rf build build-asan
