# The two commands a fresh Debian machine needs: `make test` and `make run`.
BUILD ?= build
JOBS ?= $(shell nproc)
PACKAGES = cmake g++ make qt6-base-dev libsqlite3-dev sqlite3 libgtest-dev \
           libbenchmark-dev fonts-liberation fonts-dejavu-core poppler-utils \
           qt6-translations-l10n
# A fresh machine often runs an install of its own at first boot: wait for
# it (up to ten minutes) instead of failing at once. apt-get waits for the
# package lock itself; its update does not, so it is tried again.
APT_WAIT = -o DPkg::Lock::Timeout=600
SUDO = $(shell [ "$$(id -u)" = 0 ] || echo sudo)

ASAN_BUILD ?= build-asan
SANITIZE = -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer

.PHONY: deps configure build test test-asan bench run clean

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg -s $$p >/dev/null 2>&1 || missing="$$missing $$p"; done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  tries=0; \
	  until out=$$($(SUDO) apt-get $(APT_WAIT) update 2>&1); do \
	    case "$$out" in *"Could not get lock"*) ;; *) echo "$$out"; exit 1;; esac; \
	    tries=$$((tries + 1)); \
	    if [ $$tries -ge 120 ]; then echo "$$out"; exit 1; fi; \
	    [ $$tries -gt 1 ] || echo "Waiting for another package manager to finish ..."; \
	    sleep 5; \
	  done; \
	  echo "$$out" | tail -n 1; \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get $(APT_WAIT) install -y $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The whole tree built with the address and undefined-behaviour sanitizers in
# a folder of its own, every test run there. A developer's check, not part of
# `make test` (it takes several times as long).
test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_FLAGS="$(SANITIZE)" -DCMAKE_EXE_LINKER_FLAGS="$(SANITIZE)"
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)

bench: configure
	cmake --build $(BUILD) -j $(JOBS) --target veld_bench
	QT_QPA_PLATFORM=offscreen $(BUILD)/veld_bench

# Only what the demo runs: the program, its template, the help documents and
# the demo tool.
run: configure
	cmake --build $(BUILD) -j $(JOBS) --target VELD veld_template veld_help veld_demo
	@if [ -x tools/run-demo.sh ]; then BUILD=$(BUILD) tools/run-demo.sh; \
	else echo "The program cannot be started yet."; fi

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
