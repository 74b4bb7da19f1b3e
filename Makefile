# The two commands a fresh Debian machine needs: `make test` and `make run`.
BUILD ?= build
JOBS ?= $(shell nproc)
PACKAGES = cmake g++ make qt6-base-dev libsqlite3-dev sqlite3 libgtest-dev \
           libbenchmark-dev fonts-liberation fonts-dejavu-core poppler-utils
SUDO = $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps configure build test bench run clean

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg -s $$p >/dev/null 2>&1 || missing="$$missing $$p"; done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: configure
	cmake --build $(BUILD) -j $(JOBS) --target veld_bench
	QT_QPA_PLATFORM=offscreen $(BUILD)/veld_bench

run: build
	@if [ -x tools/run-demo.sh ]; then BUILD=$(BUILD) tools/run-demo.sh; \
	else echo "The program cannot be started yet."; fi

clean:
	rm -rf $(BUILD)
