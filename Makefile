# Thin wrapper over the CMake presets; every target first installs what is missing.
.PHONY: all deps build run test sanitize fuzz tidy bench bench-startup package check-deb clean

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

fuzz: deps
	tools/run-fuzz.sh

tidy: deps
	tools/run-tidy.sh

bench: build
	./build/default/bench/core_bench

# Start-up against a bare Qt window; `make bench-startup ROUNDS=101` for more rounds.
ROUNDS ?= 51
bench-startup: build
	tools/bench-startup.sh $(ROUNDS)

package: build
	cpack --config build/default/CPackConfig.cmake -B build/package

check-deb: build
	tools/check-deb.sh

clean:
	rm -rf build
