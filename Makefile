# The two commands a fresh Debian 12 machine needs: `make demo` and `make test`.
PRESET ?= default
BUILD_DIR := build/$(PRESET)
JOBS ?= $(shell nproc)

.PHONY: deps configure build test bench demo demo-shots asan fuzz clean

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
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "No display to open the demonstration on: \`make demo-shots\` runs its tour under xvfb-run and writes screenshots to build/demo-shots/."; \
	else $(BUILD_DIR)/demo/vteffects-demo; fi

# The demonstration's scripted tour on a virtual X screen; PNGs of every transition's middle and
# end go to build/demo-shots/.
demo-shots: build
	@rm -rf build/demo-shots && mkdir -p build/demo-shots
	@xvfb-run -a -s "-screen 0 1920x1080x24" env QT_QPA_PLATFORM=xcb \
	  $(BUILD_DIR)/demo/vteffects-demo --tour build/demo-shots
	@echo "demo-shots: $$(ls build/demo-shots | wc -l) screenshots in build/demo-shots/"

# The fuzz targets for FUZZ_SECONDS each, from the seed corpora the tests write (build/fuzz-corpus);
# what they find goes to build/fuzz/findings.
FUZZ_SECONDS ?= 60
fuzz: build
	@ctest --preset $(PRESET) -R FuzzSeeds >/dev/null
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz -j $(JOBS)
	@rm -rf build/fuzz/findings && mkdir -p build/fuzz/findings
	@for t in list_loader picture; do \
	  mkdir -p build/fuzz/corpus/$$t && \
	  build/fuzz/fuzz/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=4096 -print_final_stats=1 \
	    -artifact_prefix=build/fuzz/findings/$$t- build/fuzz/corpus/$$t $(BUILD_DIR)/fuzz-corpus/$$t 2>&1 \
	    | grep -E "^(stat::number_of_executed_units|stat::new_units_added|==[0-9]+==ERROR|SUMMARY)|Done [0-9]+ runs" \
	    || true; \
	  test -z "$$(ls build/fuzz/findings/$$t-* 2>/dev/null)" || { echo "fuzz_$$t found a failure"; exit 1; }; \
	done

clean:
	@rm -rf build
