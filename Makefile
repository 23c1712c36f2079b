# The two set-up commands of the README: `make demo` and `make test`.
SHELL := /bin/bash
JOBS ?= 2
NATIVE := build/native
ASAN := build/asan
WINDOWS := build/windows
WINDOWS64 := build/windows64
FUZZ := build/fuzz
FUZZ_SEGUNDOS ?= 60
export TAV_WINEPREFIX := $(CURDIR)/build/wineprefix
# The Windows build whose programs Wine runs on this computer: the product's (i686), or a
# 64-bit build of the same code where the kernel cannot run 32-bit programs. Expanded in
# recipes only, after deps has installed Wine.
WINE_ARQ = $(shell tests/e2e/arquitetura-wine.sh)
WINDOWS_WINE = $(if $(filter x86_64,$(WINE_ARQ)),$(WINDOWS64),$(WINDOWS))

.PHONY: deps deps-nativo native asan windows windows-wine prefix fuzz test test-native test-asan test-windows test-fuzz bench bench-motor bench-inicio bench-dia bench-dia-nativo bench-painel bench-instalacao demo clean

deps:
	@tools/instalar-dependencias.sh

# The native build and its tests need neither Wine nor root (once these packages are there).
deps-nativo:
	@tools/instalar-dependencias.sh nativo

native: deps-nativo
	cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Debug >/dev/null
	cmake --build $(NATIVE) -j$(JOBS)

asan: deps-nativo
	cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug -DTAV_SANITIZE=ON >/dev/null
	cmake --build $(ASAN) -j$(JOBS)

windows: deps
	cmake -S . -B $(WINDOWS) -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
	cmake --build $(WINDOWS) -j$(JOBS)

windows-wine: windows
	@if [ "$(WINE_ARQ)" = x86_64 ]; then \
	  echo "This computer cannot run 32-bit programs: the Windows tests run a 64-bit build under 64-bit Wine."; \
	  cmake -S . -B $(WINDOWS64) -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake >/dev/null && \
	  cmake --build $(WINDOWS64) -j$(JOBS); fi

prefix: deps
	tests/e2e/preparar-prefixo.sh $(TAV_WINEPREFIX)

test-native: native
	cd $(NATIVE) && ctest --output-on-failure -j$(JOBS)

test-asan: asan
	cd $(ASAN) && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j$(JOBS)

test-windows: windows-wine prefix
	@if [ "$(WINE_ARQ)" = x86_64 ]; then ctest --test-dir $(WINDOWS) --output-on-failure -R '^tavoran_exe_pe32$$'; fi
	tests/e2e/com-wine.sh ctest --test-dir $(WINDOWS_WINE) --output-on-failure

# The engine's fuzz target over damaged files, a bounded run (FUZZ_SEGUNDOS).
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAV_FUZZ=ON -DTAV_TESTS=OFF >/dev/null
	cmake --build $(FUZZ) -j$(JOBS) --target tav_motor_fuzz

# engine/fuzz/sementes: inputs that once found a fault (a Next that came back to a record),
# run first on their own, then given to the search as a start.
test-fuzz: fuzz
	mkdir -p $(FUZZ)/corpus
	$(FUZZ)/engine/tav_motor_fuzz engine/fuzz/sementes/*
	$(FUZZ)/engine/tav_motor_fuzz -max_total_time=$(FUZZ_SEGUNDOS) -timeout=10 -rss_limit_mb=2048 -max_len=4096 -len_control=20 \
	  -print_final_stats=1 $(FUZZ)/corpus engine/fuzz/sementes

# Benchmarks; each prints its figures.
bench: bench-motor bench-inicio bench-dia bench-dia-nativo bench-instalacao bench-painel

bench-motor: deps-nativo
	cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DTAV_TESTS=OFF >/dev/null
	cmake --build build/bench -j$(JOBS) --target tav_motor_bench
	build/bench/bench/tav_motor_bench

test: test-native test-asan test-windows test-fuzz

demo: windows-wine prefix
	tests/e2e/com-wine.sh tools/demo.sh $(WINDOWS_WINE)

# The daily start on a share of 50 and 5,000 workstations under Wine (not part of make test).
# Wine, its server and the display run on one processor: Wine waits for a wake-up of another
# process at each request to its server, and a virtual machine may take twenty times longer to
# wake one on another processor (the bench prints both costs). FIXAR_PROCESSADOR= runs on all.
FIXAR_PROCESSADOR ?= taskset -c 0
bench-dia: windows-wine prefix native
	$(FIXAR_PROCESSADOR) tests/e2e/com-wine.sh bench/dia-a-dia-wine.sh $(WINDOWS_WINE) $(NATIVE)

# The daily start's reads from the record files per step, natively (not part of make test).
bench-dia-nativo: deps-nativo
	cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DTAV_TESTS=OFF >/dev/null
	cmake --build build/bench -j$(JOBS) --target tav_dia_a_dia
	build/bench/bench/tav_dia_a_dia

# tavadmin painel over 5,000 workstations and 25,000 report files, natively (not part of make test).
bench-painel: deps-nativo
	cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DTAV_TESTS=OFF >/dev/null
	cmake --build build/bench -j$(JOBS) --target tav_painel_bench
	build/bench/bench/tav_painel_bench

# A first installation of 300 components against an administrator's batch, and the same share
# on a current workstation, under Wine (not part of make test).
bench-instalacao: windows-wine prefix native
	tests/e2e/com-wine.sh bench/instalacao-wine.sh $(WINDOWS_WINE) $(NATIVE)/tools/tavadmin

# Start-up figures under Wine (not part of make test).
bench-inicio: windows-wine prefix
	tests/e2e/com-wine.sh bench/inicio-wine.sh $(WINDOWS_WINE)

clean:
	rm -rf build
