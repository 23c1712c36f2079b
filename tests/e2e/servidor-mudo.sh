#!/bin/bash
# The silent-server case of the end-to-end tests: a network namespace of its own whose
# loopback ignores echo requests, a copy of the test prefix and a Wine server of its own.
# servidor-mudo.sh <tests_e2e.exe> <scratch folder>. Exit 77 (skipped) without the rights.
set -euo pipefail
programa="$1"
pasta="$2"
original="${WINEPREFIX:-${TAV_WINEPREFIX:?}}"
aqui="$(cd "$(dirname "$0")" && pwd)"
if ! unshare -n true 2>/dev/null; then
  echo "servidor-mudo: this user cannot make a network namespace"
  exit 77
fi
copia="$pasta/prefixo-servidor-mudo"
rm -rf "$copia"
cp -a "$original" "$copia"
trap 'rm -rf "$copia"' EXIT
saida="$pasta/servidor-mudo.txt"
caso=DiagnosticoE2eTest.SilentServerOfTheShareIsANetworkFault
WINEPREFIX="$copia" TAV_E2E_SERVIDOR_MUDO=1 unshare -n bash -c '
  ip link set lo up
  echo 1 > /proc/sys/net/ipv4/icmp_echo_ignore_all
  trap "wineserver -k 2>/dev/null || true" EXIT
  "$1/wine-run" "$2" --gtest_filter="$3"
' servidor-mudo "$aqui" "$programa" "$caso" 2>&1 | tee "$saida"
grep -q "^\[       OK \] $caso" "$saida"
