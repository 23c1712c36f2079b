# The two set-up commands of the README: `make demo` and `make test`.
SHELL := /bin/bash
JOBS ?= 2
NATIVE := build/native
ASAN := build/asan
WINDOWS := build/windows
export TAV_WINEPREFIX := $(CURDIR)/build/wineprefix

.PHONY: deps native asan windows prefix test test-native test-asan test-windows demo bench clean

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

test: test-native test-asan test-windows

demo: windows prefix
	tests/e2e/com-wine.sh tools/demo.sh $(WINDOWS)

# Start-up figures under Wine (not part of make test).
bench: windows prefix
	tests/e2e/com-wine.sh bench/inicio-wine.sh $(WINDOWS)

clean:
	rm -rf build
