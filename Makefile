# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
# The two commands a player or developer needs: `make play` and `make test`.
# Both install what a fresh Debian 12 machine lacks first: `make play` only what
# building and running the game needs, `make test` the test tools as well
# (scripts/install-deps.sh lists both).

BUILD      ?= build
PLAY_BUILD ?= build-play
ASAN_BUILD ?= build-asan
BENCH_BUILD ?= build-bench
FUZZ_BUILD ?= build-fuzz
WIN_BUILD  ?= build-windows
WEB_BUILD  ?= build-web
WEB_PORT   ?= 8080
FUZZ_SECONDS ?= 60
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_GEN  := -G Ninja
RELEASE    ?= build-release
REBUILD_CHECK ?= build-rebuild-check

# The time written into what a build makes (Qt's resource compiler, the
# Windows linker and strip, the archives, the web font) is the last commit's,
# so the same commit builds the same bytes whenever it is built. Outside a git
# clone nothing is set, and the tools write the time they run.
ifeq ($(origin SOURCE_DATE_EPOCH),undefined)
SOURCE_DATE_EPOCH := $(shell git log -1 --format=%ct 2>/dev/null)
endif
ifneq ($(SOURCE_DATE_EPOCH),)
export SOURCE_DATE_EPOCH
endif

.PHONY: deps-play deps-test build build-asan play test-plain test-asan test-windows test-web test soak soak-web art fuzz clean bench package snapshots windows windows-build windows-package web web-build web-test-build web-package web-serve release release-check test-rebuild

deps-play:
	@bash scripts/install-deps.sh play

deps-test:
	@bash scripts/install-deps.sh test

build: deps-test
	@cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

build-asan: deps-test
	@cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DRUMIDA_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)

# The game alone, built the way the package builds it (Release, hardened), in
# a folder of its own so that it never reconfigures the test build: no test,
# tool or benchmark is configured or built.
play: deps-play
	@cmake -S . -B $(PLAY_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
	@cmake --build $(PLAY_BUILD) -j $(JOBS) --target rumida
	@bash scripts/play.sh $(PLAY_BUILD)/app/rumida

test-plain: build
	@cd $(BUILD) && ctest -j $(JOBS) --output-on-failure --timeout 600

# intercept_tls_get_addr=0: GCC 12's sanitizer runtime takes a block of a
# plugin's thread-local storage that happens to start 16 bytes into a page for
# an old glibc's header, and LeakSanitizer's scan at exit then reads through a
# bad pointer ("Tracer caught signal 11", now and then, after a run that
# passed). Newer runtimes (GCC 14, LLVM 17) no longer guess.
ASAN_TLS := intercept_tls_get_addr=0
test-asan: build-asan
	@cd $(ASAN_BUILD) && \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1:$(ASAN_TLS) \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	  ctest -j $(JOBS) --output-on-failure --timeout 900

# The Windows build's suite under Wine, when the cached Qt for Windows is
# there (make windows builds it once); otherwise one line says so.
test-windows:
	@if bash scripts/build-qt-windows.sh --check; then \
	  $(MAKE) --no-print-directory windows-build windows-package WIN_TARGETS=all && \
	  bash tests/wine/wine-session.sh --deadline 1500 --prefix $(WIN_BUILD)/wine \
	    ctest --test-dir $(WIN_BUILD) -j $(JOBS) --output-on-failure --timeout 600 && \
	  bash scripts/package-windows.sh --check $(WIN_BUILD)/dist; \
	else \
	  echo "Windows suite skipped: no cached Qt for Windows (make windows builds it once, about half an hour on 2 cores)"; \
	fi

# The browser build's suite, when the cached Qt for WebAssembly is there
# (make web builds it once): the Qt-free tests under node, then the browser
# walk in headless Chromium against the page's test build, then the page as
# an installed app that plays offline (offline.mjs). One web tree
# holds the game, its test build and the node tests.
test-web:
	@if bash scripts/build-qt-wasm.sh --check; then \
	  $(MAKE) --no-print-directory web-test-build WEB_TARGETS=all && \
	  cd $(WEB_BUILD) && ctest -j $(JOBS) --output-on-failure --timeout 600 -L node && cd $(CURDIR) && \
	  bash tests/web/run-walk.sh $(WEB_BUILD) && \
	  node tests/web/offline.mjs $(WEB_BUILD) && \
	  bash tests/web/run-play.sh $(WEB_BUILD); \
	else \
	  echo "Browser suite skipped: no cached Qt for WebAssembly (make web builds it once, about 10 minutes on 2 cores)"; \
	fi

# The page's random player for SOAK_SECONDS (default 30 minutes) from a fresh
# seed, in headless Chromium (tests/web/play.mjs). It prints the seed, the
# actions by kind, the races, and for each page loaded the memory the program
# holds allocated between games (with its windows closed), the size of its
# WebAssembly memory and of the page's JavaScript heap. It fails on a
# disagreement with the model, a page error or crash, or allocated memory
# grown beyond WEB_SOAK_MARGIN_MIB in a page (over its reading after its
# first game), or growing at a rate that would pass it in 10,000 actions.
# Between games the program holds about 2.5 MiB, the same in every page of a
# 30-minute soak to within 0.05 MiB: 4 MiB leaves room for caches that fill
# as new text is drawn and catches a leak of 400 bytes an action.
WEB_SOAK_MARGIN_MIB ?= 4
soak-web:
	@$(MAKE) --no-print-directory web-test-build WEB_TARGETS=rumida_web_play
	@RUMIDA_SOAK_SECONDS=$(SOAK_SECONDS) RUMIDA_SOAK_MARGIN_MIB=$(WEB_SOAK_MARGIN_MIB) \
	  bash tests/web/run-play.sh $(WEB_BUILD)

# The Linux game and the Windows game each built twice in two folders and
# compared byte for byte: the quick part of make release-check.
test-rebuild: deps-play
	@bash tests/checks/rebuild-check.sh $(REBUILD_CHECK)

test: test-plain test-asan test-windows test-web test-rebuild

# The desktop random player for SOAK_SECONDS (default 30 minutes) from a fresh
# seed, under ASan + UBSan, on Xvfb with openbox. It prints the seed, the
# actions by kind, the races, and the memory the program holds allocated and
# its resident memory, read between games (the first game over after 1,000
# actions, then the last), with the program's windows closed. It fails on a
# disagreement with the model, a sanitizer report, or allocated memory grown
# beyond SOAK_MARGIN_MIB over the first reading. ASan's quarantine of freed
# memory is kept small so that the resident figure stays near the program's.
SOAK_SECONDS ?= 1800
# Between games the program holds about 1.5 MiB under the sanitizers, and
# 20,000 actions added about 0.4 MiB to it (caches that fill as new text and
# pictures are drawn): 8 MiB leaves room for those and catches a leak of 150
# bytes an action over a 30-minute soak (about 80,000 actions).
SOAK_MARGIN_MIB ?= 8
soak: deps-test
	@cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DRUMIDA_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS) --target x11_test_random_play
	@cd $(ASAN_BUILD) && \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:quarantine_size_mb=16:$(ASAN_TLS) \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	  RUMIDA_SOAK_SECONDS=$(SOAK_SECONDS) RUMIDA_SOAK_MARGIN_MIB=$(SOAK_MARGIN_MIB) LANG=C.UTF-8 \
	  $(CURDIR)/tests/x11/run-x11.sh --deadline $$(( $(SOAK_SECONDS) + 600 )) \
	    tests/x11/x11_test_random_play --gtest_filter=DesktopRandomPlay.Soak

art:
	@bash scripts/install-deps.sh art
	@/usr/bin/python3 tools/generator/draw.py resources/pictures

# libFuzzer with AddressSanitizer and UndefinedBehaviorSanitizer, built by
# Debian's clang in a configuration of its own; FUZZ_SECONDS for each target.
fuzz:
	@bash scripts/install-deps.sh fuzz
	@cmake -S fuzz -B $(FUZZ_BUILD) $(CMAKE_GEN) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@bash fuzz/run.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# The game for Windows, cross-built with Debian's MinGW-w64 against a Qt for
# Windows built once from Debian's Qt source into ~/.cache/rumida (the first
# run takes about half an hour more for it), then what a Windows player
# downloads: $(WIN_BUILD)/dist/rumida-<version>-windows-x64.zip and the
# installer rumida-<version>-windows-x64-setup.exe.
windows:
	@$(MAKE) --no-print-directory windows-build windows-package WIN_TARGETS=rumida

# The cross build itself (WIN_TARGETS: what to build), in one Release tree
# for the game, its tests and its bench probes. Optimised at -O2, as Debian
# builds its packages: at CMake's -O3, GCC 12 warns falsely about std::string
# concatenation (-Wrestrict, GCC bug 105329), which -Werror would make fatal.
WIN_TARGETS ?= rumida
windows-build:
	@bash scripts/install-deps.sh windows
	@qt=$$(bash scripts/build-qt-windows.sh) && \
	  cmake -S . -B $(WIN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release \
	    -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
	    -DCMAKE_TOOLCHAIN_FILE=$$qt/lib/cmake/Qt6/qt.toolchain.cmake >/dev/null && \
	  cmake --build $(WIN_BUILD) -j $(JOBS) --target $(WIN_TARGETS)

windows-package:
	@bash scripts/package-windows.sh --exe $(WIN_BUILD)/app/rumida.exe \
	  --qt $$(bash scripts/build-qt-windows.sh --print-prefix) \
	  --version $$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' $(WIN_BUILD)/CMakeCache.txt) \
	  --out $(WIN_BUILD)/dist --no-check

# The game as a web page, built with emscripten against a Qt for WebAssembly
# built once from Debian's Qt source into ~/.cache/rumida (the first run
# takes about 10 minutes more for it): $(WEB_BUILD)/dist/, the folder a web
# host serves as it is, and $(WEB_BUILD)/rumida-<version>-web.zip of it.
web:
	@$(MAKE) --no-print-directory web-build web-package WEB_TESTING=OFF WEB_TARGETS=rumida
	@echo "The page: $(WEB_BUILD)/dist/ (make web-serve serves it here)"

# The browser build itself, in one Release tree (WEB_TARGETS: what to build;
# WEB_TESTING=ON adds the node tests and the page's test build).
WEB_TARGETS ?= rumida
WEB_TESTING ?= OFF
web-build:
	@bash scripts/install-deps.sh web
	@qt=$$(bash scripts/build-qt-wasm.sh) && . scripts/wasm-env.sh && \
	  if [ -f $(WEB_BUILD)/CMakeCache.txt ] && [ "$$(cat $(WEB_BUILD)/qt-prefix.txt 2>/dev/null)" != "$$qt" ]; then \
	    echo "$(WEB_BUILD) was made with another Qt for WebAssembly: made afresh"; rm -rf $(WEB_BUILD); \
	  fi && mkdir -p $(WEB_BUILD) && echo "$$qt" >$(WEB_BUILD)/qt-prefix.txt && \
	  $$qt/bin/qt-cmake -S . -B $(WEB_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release \
	    -DBUILD_TESTING=$(WEB_TESTING) >/dev/null && \
	  cmake --build $(WEB_BUILD) -j $(JOBS) --target $(WEB_TARGETS)

# The web tree with its tests (the node tests and the page's test build), for
# make test and make bench: GoogleTest's source comes with the test tools.
web-test-build: deps-test
	@$(MAKE) --no-print-directory web-build web-package WEB_TESTING=ON WEB_TARGETS="$(WEB_TARGETS)"

web-package:
	@bash scripts/package-web.sh --build $(WEB_BUILD) --qt $$(bash scripts/build-qt-wasm.sh --print-prefix) \
	  --version $$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' $(WEB_BUILD)/CMakeCache.txt) \
	  --out $(WEB_BUILD)/dist >/dev/null

# Serves the page of make web on 127.0.0.1:$(WEB_PORT) for a player on this machine.
web-serve:
	@[ -f $(WEB_BUILD)/dist/index.html ] || $(MAKE) --no-print-directory web
	@node web/serve.mjs $(WEB_BUILD)/dist $(WEB_PORT)

# Every build folder the targets here make (the cached Qts stay).
clean:
	rm -rf $(BUILD) $(PLAY_BUILD) $(ASAN_BUILD) $(BENCH_BUILD) $(FUZZ_BUILD) $(WIN_BUILD) $(WEB_BUILD) \
	  $(RELEASE)-work $(REBUILD_CHECK)

# Every download of this version, built afresh, into $(RELEASE)/ with the
# release notes and SHA256SUMS (scripts/release.sh); the Windows and web
# downloads when their cached Qt is there. make clean leaves the release
# folder alone: a release is only ever deleted by hand.
release:
	@bash scripts/install-deps.sh package
	@bash scripts/release.sh --out $(RELEASE)

# The release made from two fresh clones of HEAD, in two folders, minutes
# apart, and the two compared (scripts/release-check.sh).
release-check:
	@bash scripts/install-deps.sh release
	@bash scripts/release-check.sh

# Benchmarks in a Release build, each figure against a floor measured in the
# same run; it ends with one "BENCH name value goal" line per figure.
bench: deps-play
	@cmake -S . -B $(BENCH_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
	@cmake --build $(BENCH_BUILD) -j $(JOBS) --target rumida_bench
	@$(BENCH_BUILD)/bench/rumida_bench
	@if bash scripts/build-qt-windows.sh --check; then \
	  $(MAKE) --no-print-directory windows-build \
	    WIN_TARGETS="rumida_bench_game_probe rumida_bench_bare_probe" && \
	  bash tests/wine/wine-session.sh --prefix $(WIN_BUILD)/wine \
	    /usr/bin/python3 bench/wine/wine_bench.py $(CURDIR)/$(WIN_BUILD); \
	else \
	  echo "Windows figures skipped: no cached Qt for Windows (make windows builds it once, about half an hour on 2 cores)"; \
	fi
	@if bash scripts/build-qt-wasm.sh --check; then \
	  $(MAKE) --no-print-directory web-test-build WEB_TARGETS="all rumida_web_bare" && \
	  bash tests/web/npm-ci.sh && node bench/web/web_bench.mjs $(WEB_BUILD); \
	else \
	  echo "Web figures skipped: no cached Qt for WebAssembly (make web builds it once, about 10 minutes on 2 cores)"; \
	fi

# The Debian package rumida_<version>_amd64.deb, built by CPack in the Release
# tree, then checked by lintian with every tag shown: any tag at all fails.
package:
	@bash scripts/install-deps.sh package
	@cmake -S . -B $(BENCH_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
	@cmake --build $(BENCH_BUILD) -j $(JOBS)
	@cd $(BENCH_BUILD) && cpack -G DEB
	@deb=$$(ls -t $(BENCH_BUILD)/rumida_*.deb | head -n 1) && \
	  lintian -I -E --pedantic --fail-on error,warning,info,pedantic,experimental "$$deb" && \
	  echo "lintian: no tags for $$deb"

# Every window rendered offscreen into docs/, at 1x and 2x.
snapshots: build
	@$(BUILD)/tools/rumida_snapshot docs/1x
	@QT_SCALE_FACTOR=2 $(BUILD)/tools/rumida_snapshot docs/2x
