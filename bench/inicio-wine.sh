#!/bin/bash
# make bench: TAVORAN.EXE's start (process start to window shown) under Wine against a
# trivial MinGW program started the same way from the same mapped drive, in the same run.
# Runs inside tests/e2e/com-wine.sh. Arguments: [windows build dir] [runs].
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/windows}"
vezes="${2:-10}"
. tools/estacao-wine.sh
preparar_estacao "$build" b "$build/bench/compartilhamento"
cp "$build/tests/helpers/ProgramaTrivial.exe" "$ESTACAO_PASTA/ProgramaTrivial.exe"
wine "$build/bench/MedirInicio.exe" "$vezes" "$ESTACAO_DIRT\\TAVORAN.EXE" "$ESTACAO_DIRT\\ProgramaTrivial.exe" \
  </dev/null 2>/dev/null | sed 's/\r$//'
