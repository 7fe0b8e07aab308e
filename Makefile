# The two commands a fresh Debian 12 machine needs: `make demo` and `make test`.
PRESET ?= default
BUILD_DIR := build/$(PRESET)
JOBS ?= $(shell nproc)

.PHONY: deps configure build test bench demo asan clean

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake --preset $(PRESET) >/dev/null

build: configure
	@cmake --build --preset $(PRESET) -j $(JOBS)

test: build
	@ctest --preset $(PRESET) -j $(JOBS)

asan:
	@$(MAKE) --no-print-directory test PRESET=asan

bench: build
	@for b in $(BUILD_DIR)/bench/*; do [ -x "$$b" ] && [ -f "$$b" ] && "$$b"; done; true

demo: build
	@if [ -x $(BUILD_DIR)/demo/vteffects-demo ]; then $(BUILD_DIR)/demo/vteffects-demo; \
	else echo "The demonstration program is not built yet."; fi

clean:
	@rm -rf build
