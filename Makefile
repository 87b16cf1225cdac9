# SPDX-License-Identifier: GPL-3.0-or-later
# Thin wrapper over the CMake presets. Every target first installs the Debian packages
# it needs and that are missing (tools/install-deps.sh lists them by group).
.PHONY: all app build run test sanitize fuzz tidy bench bench-startup package check-deb check-debian13 \
        check-compositors windows check-windows bench-windows-startup web run-web web-tests \
        check-web bench-web clean

# Ninja builds in parallel by itself; this keeps it to one job per core.
JOBS ?= $(shell nproc)
DEPS = tools/install-deps.sh

all: build

# The program alone.
app:
	@$(DEPS) run
	tools/configure.sh default
	cmake --build --preset app --parallel $(JOBS)

# The program, its tests and the benchmark.
build:
	@$(DEPS) run test
	tools/configure.sh default
	cmake --build --preset default --parallel $(JOBS)

run: app
	./build/default/app/styrmark

test: build
	ctest --preset default

sanitize:
	@$(DEPS) run test
	tools/configure.sh sanitize
	cmake --build --preset sanitize --parallel $(JOBS)
	ctest --preset sanitize

fuzz:
	@$(DEPS) run clang
	tools/run-fuzz.sh

tidy:
	@$(DEPS) run clang
	tools/check-spdx.sh
	tools/run-tidy.sh

bench: build
	./build/default/bench/core_bench

# Start-up against a bare Qt window; `make bench-startup ROUNDS=101` for more rounds.
ROUNDS ?= 51
bench-startup: build
	tools/bench-startup.sh $(ROUNDS)

package:
	@$(DEPS) run package
	tools/build-deb.sh

check-deb:
	@$(DEPS) run package
	tools/check-deb.sh

check-debian13:
	@$(DEPS) debian13
	tools/check-debian13.sh

# The program under Weston and mutter; pictures in build/compositors.
check-compositors: app
	@$(DEPS) compositors
	tools/check-compositors.sh build/default/app/styrmark

# The Windows program and its installer, cross-built with mingw-w64:
# build/windows/app/win32/styrmark.exe and build/windows/styrmark-VERSION-x64.msi.
windows:
	@$(DEPS) windows
	tools/configure.sh windows
	cmake --build --preset windows --parallel $(JOBS)

# Their tests under Wine, all in one private Wine session.
check-windows: windows
	tools/wine-session.sh ctest --preset windows

bench-windows-startup: windows
	tools/bench-windows-startup.sh $(ROUNDS)

# The site, built for the browser with clang and wasm32-wasi: build/web/site.
web:
	@$(DEPS) web
	tools/configure.sh web
	cmake --build --preset site --parallel $(JOBS)

# Serves the site on this machine only; PORT=8080 by default.
PORT ?= 8080
run-web: web
	@echo "Styrmark: http://127.0.0.1:$(PORT)/ (Ctrl+C stops it)"
	python3 -m http.server --bind 127.0.0.1 --directory build/web/site $(PORT)

# The site with its tests: the core's in WebAssembly, the behaviour table in its page; the
# test tools come from npm into tests/web.
web-tests:
	@$(DEPS) web web-test
	cd tests/web && npm ci --no-audit --no-fund
	tools/configure.sh web
	cmake --build --preset web --parallel $(JOBS)

# The core's tests under Node, the behaviour table and the site's own checks in Debian's
# Chromium.
check-web: web-tests
	ctest --preset web

# Start-up against a bare page with the same controls and no WebAssembly.
bench-web: web-tests
	node bench/web/startup.mjs build/web $(ROUNDS)

clean:
	rm -rf build
