# The two set-up commands of the README: `make demo` and `make test`.
SHELL := /bin/bash
JOBS ?= 2
NATIVE := build/native
ASAN := build/asan
WINDOWS := build/windows
FUZZ := build/fuzz
FUZZ_SEGUNDOS ?= 60
export TAV_WINEPREFIX := $(CURDIR)/build/wineprefix

.PHONY: deps native asan windows prefix fuzz test test-native test-asan test-windows test-fuzz bench bench-motor bench-inicio bench-dia demo clean

deps:
	@tools/instalar-dependencias.sh

native: deps
	cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Debug >/dev/null
	cmake --build $(NATIVE) -j$(JOBS)

asan: deps
	cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug -DTAV_SANITIZE=ON >/dev/null
	cmake --build $(ASAN) -j$(JOBS)

windows: deps
	cmake -S . -B $(WINDOWS) -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
	cmake --build $(WINDOWS) -j$(JOBS)

prefix: deps
	tests/e2e/preparar-prefixo.sh $(TAV_WINEPREFIX)

test-native: native
	cd $(NATIVE) && ctest --output-on-failure -j$(JOBS)

test-asan: asan
	cd $(ASAN) && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j$(JOBS)

test-windows: windows prefix
	tests/e2e/com-wine.sh ctest --test-dir $(WINDOWS) --output-on-failure

# The engine's fuzz target over damaged files, a bounded run (FUZZ_SEGUNDOS).
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAV_FUZZ=ON -DTAV_TESTS=OFF >/dev/null
	cmake --build $(FUZZ) -j$(JOBS) --target tav_motor_fuzz

test-fuzz: fuzz
	mkdir -p $(FUZZ)/corpus
	$(FUZZ)/engine/tav_motor_fuzz -max_total_time=$(FUZZ_SEGUNDOS) -timeout=10 -rss_limit_mb=2048 -max_len=4096 -len_control=20 \
	  -print_final_stats=1 $(FUZZ)/corpus

# Engine benchmarks beside SQLite; prints the figures.
bench: bench-motor bench-inicio bench-dia

bench-motor: deps
	cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DTAV_TESTS=OFF >/dev/null
	cmake --build build/bench -j$(JOBS) --target tav_motor_bench
	build/bench/bench/tav_motor_bench

test: test-native test-asan test-windows test-fuzz

demo: windows prefix
	tests/e2e/com-wine.sh tools/demo.sh $(WINDOWS)

# The daily start on a share of 50 and 5,000 workstations under Wine (not part of make test).
bench-dia: windows prefix native
	tests/e2e/com-wine.sh bench/dia-a-dia-wine.sh $(WINDOWS) $(NATIVE)/tools/tavadmin

# Start-up figures under Wine (not part of make test).
bench-inicio: windows prefix
	tests/e2e/com-wine.sh bench/inicio-wine.sh $(WINDOWS)

clean:
	rm -rf build
