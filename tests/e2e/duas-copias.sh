#!/bin/bash
# Two copies of TAVORAN.EXE for one computer in two Wine prefixes on one share: the test
# prefix, and a copy of it with a Wine server of its own. duas-copias.sh <tests_e2e.exe>
# <scratch folder>; the two halves of DuasCopias run at once and signal through the share.
set -euo pipefail
programa="$1"
pasta="$2"
original="${WINEPREFIX:-${TAV_WINEPREFIX:?}}"
aqui="$(cd "$(dirname "$0")" && pwd)"
copia="$pasta/prefixo-segunda-copia"
rm -f "$pasta"/compartilhamento/copia-*  # the signals of an earlier run
rm -rf "$copia"
cp -a "$original" "$copia"
trap 'WINEPREFIX="$copia" wineserver -k 2>/dev/null || true; rm -rf "$copia"' EXIT
WINEPREFIX="$copia" TAV_E2E_DUAS_COPIAS=B "$aqui/wine-run" "$programa" \
  --gtest_filter=DuasCopias.SecondCopyStartsWhileTheFirstHoldsTheLock >"$pasta/segunda-copia.txt" 2>&1 &
segunda=$!
primeira=0
TAV_E2E_DUAS_COPIAS=A "$aqui/wine-run" "$programa" \
  --gtest_filter=DuasCopias.FirstCopyUpdatesAloneWhileTheSecondMeetsItsLock || primeira=$?
wait "$segunda" || true
echo "--- the second copy's half:"
cat "$pasta/segunda-copia.txt"
[ "$primeira" -eq 0 ] && grep -q '^\[       OK \] DuasCopias.SecondCopy' "$pasta/segunda-copia.txt"
