# Thin wrapper over the CMake presets; every target first installs what is missing.
.PHONY: all deps build run test sanitize bench clean

all: build

deps:
	@tools/install-deps.sh

build: deps
	cmake --preset default
	cmake --build --preset default

run: build
	./build/default/app/styrmark

test: build
	ctest --preset default

sanitize: deps
	cmake --preset sanitize
	cmake --build --preset sanitize
	ctest --preset sanitize

bench: build
	./build/default/bench/core_bench

clean:
	rm -rf build
