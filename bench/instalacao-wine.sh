#!/bin/bash
# make bench-instalacao: a first installation of 300 components (about 100 MB: 100 COM
# libraries with type libraries and 200 executables) from the share into the empty system
# folder of the Wine prefix, against an administrator's batch doing the same work in the same
# run (an xcopy of the folder, then regsvr32 /s for each COM library); then the same share on a
# workstation that is already current (no status record, so every file is checked and none
# changed). Prints medians in milliseconds, the ratios, the progress bar's last value against
# its maximum, and whether the current workstation's run wrote anything to the system folder.
# Runs inside tests/e2e/com-wine.sh. Arguments: <windows build> <native tavadmin> [runs].
set -euo pipefail
cd "$(dirname "$0")/.."
build="$1"
tavadmin="$2"
vezes="${3:-3}"
. tools/estacao-wine.sh
computador="$(wine cmd.exe /c 'echo %COMPUTERNAME%' </dev/null 2>/dev/null | tr -d '\r\n')"
preparar_estacao "$build" i "$build/bench/instalacao"
sistema="$(pasta_sistema)"
componentes="$ESTACAO_PASTA/KORA/COMPONENTES"
lote="$ESTACAO_PASTA/../lote.bat"
if [ "$(tests/e2e/arquitetura-wine.sh)" = x86_64 ]; then regsvr32='C:\windows\system32\regsvr32.exe'
else regsvr32='C:\windows\syswow64\regsvr32.exe'; fi

preencher_componentes "$build"
echo "Share: $(ls "$componentes" | wc -l) files, $(du -sm "$componentes" | cut -f1) MB"
{
  printf '@echo off\r\nxcopy /y /q "%s\\KORA\\COMPONENTES\\*.*" C:\\windows\\syswow64\\ >nul\r\n' "$ESTACAO_DIRT"
  for i in $(seq -w 1 100); do printf '%s /s C:\\windows\\syswow64\\COM%s.DLL\r\n' "$regsvr32" "$i"; done
} >"$lote"

limpar() {
  wine "$regsvr32" /u /s "$(winepath -w "$build/tests/helpers/com/ComA.dll")" </dev/null >/dev/null 2>&1 || true
  rm -f "$sistema"/COM[0-9]*.DLL "$sistema"/PROG[0-9]*.EXE "$sistema"/TLBINF32.DLL
  "$tavadmin" remover "$ESTACAO_PASTA" "$computador" >/dev/null 2>&1 || true
  rm -rf "$ESTACAO_PASTA/Logs"
}
ms() { echo $(( ($(date +%s%N) - $1) / 1000000 )); }
mediana() { printf '%s\n' "$@" | sort -n | sed -n "$(( ($# + 1) / 2 ))p"; }
retrato() { find "$sistema" -maxdepth 1 -type f -printf '%f %s %T@\n' | sort; }

programa=() lote_=() atual=() barras=() escritas=() base=()
wine "$ESTACAO_DIRT\\TAVORAN.EXE" </dev/null >/dev/null 2>&1 || true  # warm-up
for _ in $(seq 1 "$vezes"); do
  limpar
  t=$(date +%s%N); wine cmd /c "$(winepath -w "$lote")" </dev/null >/dev/null 2>&1; lote_+=("$(ms "$t")")
  limpar
  wine "$build/tests/helpers/ObservarProgresso.exe" 'I:\barra.txt' </dev/null >/dev/null 2>&1 &
  observador=$!
  t=$(date +%s%N); wine "$ESTACAO_DIRT\\TAVORAN.EXE" </dev/null >/dev/null 2>&1; programa+=("$(ms "$t")")
  wait "$observador" || true
  barras+=("$(tr -d '\r\n' <"$ESTACAO_PASTA/../barra.txt")")
  [ -z "$(ls "$ESTACAO_PASTA/Logs/RYX/Erros" 2>/dev/null)" ] || echo "warning: the installation wrote inconsistencies" >&2
  "$tavadmin" remover "$ESTACAO_PASTA" "$computador" >/dev/null
  antes="$(retrato)"
  t=$(date +%s%N); wine "$ESTACAO_DIRT\\TAVORAN.EXE" </dev/null >/dev/null 2>&1; atual+=("$(ms "$t")")
  [ "$antes" = "$(retrato)" ] && escritas+=("nada") || escritas+=("alterado")
  # The same start with only the type-library browser in the share: what every run costs
  # before any component (Wine's start of a windowed program, the checks, the records).
  mkdir -p "$ESTACAO_PASTA/../fora"
  mv "$componentes"/COM[0-9]*.DLL "$componentes"/PROG[0-9]*.EXE "$ESTACAO_PASTA/../fora/"
  "$tavadmin" remover "$ESTACAO_PASTA" "$computador" >/dev/null
  t=$(date +%s%N); wine "$ESTACAO_DIRT\\TAVORAN.EXE" </dev/null >/dev/null 2>&1; base+=("$(ms "$t")")
  mv "$ESTACAO_PASTA/../fora/"* "$componentes/"
done
p=$(mediana "${programa[@]}"); l=$(mediana "${lote_[@]}"); a=$(mediana "${atual[@]}"); b=$(mediana "${base[@]}")
echo "First installation, TAVORAN.EXE:        $p ms (runs: ${programa[*]})"
echo "Administrator's batch (xcopy, regsvr32): $l ms (runs: ${lote_[*]})"
echo "Ratio: $(awk -v a="$p" -v b="$l" 'BEGIN { printf "%.2f", a / b }')  (target <= 0.5)"
echo "Current workstation:                    $a ms (runs: ${atual[*]})"
echo "Ratio to the first installation: $(awk -v a="$a" -v b="$p" 'BEGIN { printf "%.2f", a / b }')  (target <= 0.15)"
echo "Start with no component to check:       $b ms (runs: ${base[*]})"
echo "Beyond that start, current against first: $((a - b)) ms against $((p - b)) ms, ratio" \
  "$(awk -v a="$((a - b))" -v b="$((p - b))" 'BEGIN { printf "%.2f", a / b }')"
echo "System folder during the current runs: ${escritas[*]}"
echo "Progress bar at the end (value maximum): ${barras[*]}"
