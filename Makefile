# Quorvel's everyday commands. `make run` starts the program, `make test` runs every test.
#   make test LABEL=unit        one label only (unit, gui, desktop or robustness; 'unit|gui' for two)
#   make test LABEL=desktop-kwin  the desktop tests on one desktop (scripts/with-desktop --list)
#   make test SANITIZE=1        the same under AddressSanitizer and UBSan, in build-sanitize
#   make test CTEST_ARGS='-R AlarmTable'   anything else ctest understands

BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

# Warnings are errors in CI; said explicitly both ways so a reused build folder follows suit.
CMAKE_FLAGS := -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DQUORVEL_WERROR=$(if $(CI),ON,OFF)
# ccache, when present, makes rebuilds in fresh clones and worktrees cheap.
ifneq ($(shell command -v ccache),)
CMAKE_FLAGS += -DCMAKE_CXX_COMPILER_LAUNCHER=ccache
export CCACHE_BASEDIR ?= $(CURDIR)
# Debug information keeps the first folder's paths; worth it for cache hits across folders.
export CCACHE_NOHASHDIR ?= 1
endif
# Build variants add their configure flags here.
CMAKE_FLAGS += $(EXTRA_CMAKE_FLAGS)

# make test SANITIZE=1: AddressSanitizer and UBSan, in a build folder of their own. Leaks inside
# system libraries are suppressed by name in tests/sanitizers/lsan.supp; ours never are.
ifdef SANITIZE
BUILD_DIR := build-sanitize
CMAKE_FLAGS += -DQUORVEL_SANITIZE=ON
export ASAN_OPTIONS := detect_leaks=1
export LSAN_OPTIONS := suppressions=$(CURDIR)/tests/sanitizers/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS := halt_on_error=1:print_stacktrace=1
endif

CTEST_FLAGS := --test-dir $(BUILD_DIR) --output-on-failure --no-tests=error
ifdef LABEL
CTEST_FLAGS += -L '$(LABEL)'
endif
CTEST_FLAGS += $(CTEST_ARGS)

FORMAT_DIRS := src tests bench data

.PHONY: build run test bench package package-check format clean deps

deps:
	scripts/install-deps

build: deps
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
		echo "make run: no graphical session (neither DISPLAY nor WAYLAND_DISPLAY is set)." >&2; \
		echo "          To try it in a throwaway desktop: scripts/with-desktop $(BUILD_DIR)/quorvel" >&2; \
		exit 1; \
	fi
	$(BUILD_DIR)/quorvel

test: build
	scripts/with-desktop ctest $(CTEST_FLAGS)

bench: build
	scripts/with-desktop scripts/run-benches $(BUILD_DIR)/bench/benches.txt

# The .deb lands in $(BUILD_DIR): apt-get install ./$(BUILD_DIR)/quorvel_*.deb
package: build
	cd $(BUILD_DIR) && cpack -G DEB

# lintian, appstreamcli and man on the .deb, then an apt install into a fresh Debian 12 root and a
# start of the installed program in a private X session (as root; see scripts/package-check).
package-check: package
	scripts/package-check "$$(ls -t $(BUILD_DIR)/quorvel_*.deb | head -n1)"

format:
	@command -v clang-format >/dev/null || { echo "make format: clang-format is not installed (apt-get install clang-format)" >&2; exit 1; }
	find $(FORMAT_DIRS) \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 -r clang-format -i

clean:
	rm -rf $(BUILD_DIR)
