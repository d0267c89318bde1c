# Morvaline: the two set-up commands are `make run` and `make test`.
# Both install any missing system package first (scripts/install-deps.sh).

JOBS ?= $(shell nproc)

.PHONY: deps configure build run test lint format-check test-asan test-tsan syncthing-test bench screenshots package clean

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake --preset release >/dev/null

build: configure
	@cmake --build --preset release -j $(JOBS)

run: configure
	@cmake --build --preset release -j $(JOBS) --target morvaline
	./build/morvaline

test: build
	@ctest --preset release -j $(JOBS)

# The formatting of every C++ file (.clang-format), then clang-tidy
# (.clang-tidy) and clazy's Qt checks over src/ and main.cpp, after a release
# build for the files moc generates (scripts/lint.sh). Any finding fails.
format-check: deps
	@bash scripts/lint.sh format

lint: format-check build
	@JOBS=$(JOBS) bash scripts/lint.sh checks

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan -j $(JOBS)
	@ctest --preset asan -j $(JOBS)

# The unit and GUI suites under ThreadSanitizer, for the work the window hands
# to threads of its own (the log's save). Qt itself is not built with it:
# tests/tsan.supp names what is Qt's own.
test-tsan: deps
	@cmake --preset tsan >/dev/null
	@cmake --build --preset tsan -j $(JOBS) --target unit_tests gui_tests
	@ctest --preset tsan -j $(JOBS) -R '\.'

# Two real Syncthing peers on the loopback keep two copies of the program in
# step (tests/smoke/syncthing_peers.sh); also part of `make test`.
syncthing-test: configure
	@cmake --build --preset release -j $(JOBS) --target morvaline
	bash tests/smoke/syncthing_peers.sh build/morvaline

# Start-up, close, data files and handlers against their floors, as one table
# (bench/). One Xvfb server with a black root: the probe sees a window's first
# paint as its first non-black pixel. Not part of `make test`.
bench: configure
	@cmake --build --preset release -j $(JOBS) --target bench-programs
	xvfb-run -a -s "-screen 0 1280x1024x24 -br -noreset" build/bench/morvaline-bench \
		build/morvaline build/bench/bare-window build/bench/startup-probe

# PNG files of the window with sample data, for review: build/screenshots/;
# the first page of a sample report as report.png, from its PDF.
screenshots: build
	QT_QPA_PLATFORM=offscreen ./build/tools/morvaline-screenshots build/screenshots
	pdftoppm -png -r 80 -f 1 -l 1 -singlefile build/screenshots/report.pdf build/screenshots/report

# The Debian package build/morvaline_<version>_<arch>.deb; install it with
# apt-get install ./build/morvaline_*.deb
package: configure
	@cmake --build --preset release -j $(JOBS) --target morvaline manual-pages
	@cd build && cpack --config CPackConfig.cmake

clean:
	rm -rf build build-asan build-debug
