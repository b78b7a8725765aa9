# Quick start: `make run` and `make test`. Both install what is missing.
SHELL := /bin/bash
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
# How long `make fuzz` runs each target.
FUZZ_SECONDS ?= 60
FUZZ_TARGETS := load_image text_files change_script patches graphics replace_rules
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
DEMO       := $(BUILD)/demo.smc
# Debian packages the build and the tests need.
PACKAGES   := cmake g++ make libgtest-dev libbenchmark-dev qt6-base-dev qt6-tools-dev qt6-l10n-tools fonts-ipafont-gothic zlib1g-dev libpng-dev nettle-dev libpcre2-dev libgettextpo-dev pkg-config qt6-translations-l10n python3
# What the tests run besides: gettext's tools, Python's polib, translate-toolkit's pofilter, git.
TEST_PACKAGES := gettext python3-polib translate-toolkit git

.PHONY: run run-build test bench asan fuzz deps build demo screenshot clean

# Installs the Debian packages in PACKAGES (or those given) that are missing.
deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  sudo=""; [ "$$(id -u)" -eq 0 ] || sudo=sudo; \
	  $$sudo apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $$sudo apt-get install -y -qq --no-install-recommends $$missing; \
	fi

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DVELK_WERROR=ON
	cmake --build $(BUILD) -j $(JOBS)

# Only what `make run` runs: the window, the command line and the demo maker.
RUN_TARGETS := velk velk-cli velk-demo
run-build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DVELK_WERROR=ON
	cmake --build $(BUILD) -j $(JOBS) --target $(RUN_TARGETS)

# The demo image is made only when missing, so a save into it is kept;
# `rm build/demo.smc && make demo` makes a fresh one.
demo: run-build
	@if [ -e $(DEMO) ]; then echo "$(DEMO) exists and is kept (remove it for a fresh one)."; \
	else $(BUILD)/velk-demo $(DEMO); fi

# The window on the demo image where there is a display; otherwise a
# command-line demo on the demo image.
run: demo
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  echo "Starting the editor on $(DEMO)."; \
	  cd $(BUILD) && ./velk demo.smc; \
	else \
	  echo "No display: running velk-cli on $(DEMO) instead of the window."; \
	  mkdir -p $(BUILD)/demo-out && \
	  $(BUILD)/velk-cli $(DEMO) info \
	    export-names $(BUILD)/demo-out/names.txt export-texts $(BUILD)/demo-out/texts.txt \
	    extract-faces $(BUILD)/demo-out/face.fig export-face-bmp $(BUILD)/demo-out/faces.bmp \
	    extract-units $(BUILD)/demo-out/unit.fig save $(BUILD)/demo-out/saved.smc \
	    | tee $(BUILD)/demo-out/info.txt && \
	  $(BUILD)/velk-demo --script $(BUILD)/demo-out/example && \
	  $(BUILD)/velk-cli $(DEMO) apply-script $(BUILD)/demo-out/example/example.txt \
	    save $(BUILD)/demo-out/scripted.smc && \
	  echo "The name list, text collection, graphics files and a saved ROM are in $(BUILD)/demo-out/;" && \
	  echo "scripted.smc is the demo with the example change script in $(BUILD)/demo-out/example/ applied."; \
	fi

test: build
	@$(MAKE) --no-print-directory deps PACKAGES="$(TEST_PACKAGES)"
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

bench: build
	$(BUILD)/bench/velk_bench
	QT_QPA_PLATFORM=offscreen $(BUILD)/bench/velk_workbench_bench

# The whole test suite under AddressSanitizer and UndefinedBehaviorSanitizer.
asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVELK_SANITIZE=ON -DVELK_WERROR=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

# Every fuzz target for FUZZ_SECONDS, with clang's libFuzzer, AddressSanitizer
# and UndefinedBehaviorSanitizer; the corpora grow in $(FUZZ_BUILD)/corpus.
fuzz:
	@$(MAKE) --no-print-directory deps PACKAGES="cmake make clang libclang-rt-14-dev"
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELK_FUZZ=ON \
	  -DVELK_GUI=OFF -DVELK_TESTS=OFF -DVELK_WERROR=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	$(FUZZ_BUILD)/fuzz/fuzz_seeds $(FUZZ_BUILD)/seeds
	@for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$t $(FUZZ_BUILD)/crashes/$$t; \
	  echo "== fuzz_$$t for $(FUZZ_SECONDS) s"; \
	  $(FUZZ_BUILD)/fuzz/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -max_len=65536 -timeout=30 -rss_limit_mb=4096 \
	    -print_final_stats=1 -artifact_prefix=$(FUZZ_BUILD)/crashes/$$t/ \
	    $(FUZZ_BUILD)/corpus/$$t $(FUZZ_BUILD)/seeds/$$t 2>&1 | grep -E '^(stat::number_of_executed_units|INFO: A corpus|==[0-9]+==ERROR|SUMMARY|Done)' ; \
	  [ $${PIPESTATUS[0]} -eq 0 ] || exit 1; \
	done

# Pictures of the window under a virtual X display, to check by eye.
screenshot: demo
	@$(MAKE) --no-print-directory deps PACKAGES="xvfb xauth"
	cmake --build $(BUILD) -j $(JOBS) --target velk-screenshot
	mkdir -p $(BUILD)/screenshots
	xvfb-run -a $(BUILD)/velk-screenshot $(DEMO) $(BUILD)/screenshots
	@echo "Screenshots in $(BUILD)/screenshots"

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
