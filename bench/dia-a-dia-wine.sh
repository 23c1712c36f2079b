#!/bin/bash
# make bench-dia: the daily no-update start under Wine on a share whose SELVCOMP.BTR holds N
# workstations and whose KEMVERSAO.BTR holds 20,000 entries: bytes read from the record files
# by TAVORAN.EXE (the engine's counters) and the wall time of the whole run (start to the
# starter's launch and the window's close) against the trivial program, in the same run.
# Runs inside tests/e2e/com-wine.sh. Arguments: <windows build> <native tavadmin> [runs].
set -euo pipefail
cd "$(dirname "$0")/.."
build="$1"
tavadmin="$2"
vezes="${3:-5}"
. tools/estacao-wine.sh
computador="$(wine cmd.exe /c 'echo %COMPUTERNAME%' </dev/null 2>/dev/null | tr -d '\r\n')"

# KEMVERSAO.BTR: 5,000 system versions of four programs; the newest expects what is there.
manifesto_grande() {
  printf 'VersaoSistema;CaminhoProgramaArquivo;NomeProgramaArquivo;VersaoPrograma;hash;RegDataCriacao;'
  printf 'RegDataUltAlteracao;Observacao;Funcionando;Beta;VersaoOrdenacao;Boletim\n'
  local v p
  for v in $(seq 1 5000); do
    for p in TAVORAN.EXE TAVORAN2.EXE KEMCRIAARQ.EXE KEMGRAVAARQUIVOWSE.EXE; do
      local esperada="1.0.0.0"
      [ "$p" = KEMCRIAARQ.EXE ] && esperada=""
      printf '%d.0;;%s;%s;;20261201;20261201;;1;0;%09d;\n' "$v" "$p" "$esperada" "$v"
    done
  done
}

medir() {
  local estacoes="$1"
  preparar_estacao "$build" d "$build/bench/dia-$estacoes"
  cp "$build/tests/helpers/ProgramaTrivial.exe" "$ESTACAO_PASTA/ProgramaTrivial.exe"
  manifesto_grande >"$ESTACAO_PASTA/../grande.csv"
  "$tavadmin" importar "$ESTACAO_PASTA" "$ESTACAO_PASTA/../grande.csv" >/dev/null
  "$tavadmin" gravar-estacao "$ESTACAO_PASTA" "$computador" 1 20261201 08:00:00 usuario 0 >/dev/null
  local i
  for i in $(seq 2 "$estacoes"); do
    "$tavadmin" gravar-estacao "$ESTACAO_PASTA" "EST$(printf '%05d' "$i")" 1 20261201 08:00:00 usuario 0 >/dev/null
  done
  local contadores="$ESTACAO_PASTA/../contadores.txt"
  rm -f "$contadores"
  local tempos_t=() tempos_p=()
  for i in $(seq 1 "$vezes"); do
    local t0 t1
    t0=$(date +%s%N)
    TAV_BTRIEVE_CONTADORES="$(winepath -w "$contadores")" wine "$ESTACAO_DIRT\\TAVORAN.EXE" </dev/null >/dev/null 2>&1
    t1=$(date +%s%N)
    tempos_t+=($(( (t1 - t0) / 1000000 )))
    t0=$(date +%s%N)
    wine "$ESTACAO_DIRT\\ProgramaTrivial.exe" </dev/null >/dev/null 2>&1
    t1=$(date +%s%N)
    tempos_p+=($(( (t1 - t0) / 1000000 )))
  done
  local mt mp bytes
  mt=$(printf '%s\n' "${tempos_t[@]}" | sort -n | sed -n "$(( (vezes + 1) / 2 ))p")
  mp=$(printf '%s\n' "${tempos_p[@]}" | sort -n | sed -n "$(( (vezes + 1) / 2 ))p")
  bytes=$(head -n 1 "$contadores" | cut -d' ' -f1)
  printf '%6d workstations: record-file bytes read %7d (%.1f KiB); run %5d ms, trivial program %5d ms (holds its window 300 ms): %+d ms\n' \
    "$estacoes" "$bytes" "$(awk -v b="$bytes" 'BEGIN { print b / 1024 }')" "$mt" "$mp" $((mt - mp))
  grep -q "KemCriaArq" "$ESTACAO_COMANDOS" || echo "  (the starter was not launched: the run did not take the daily path)"
}

echo "Daily start without update, medians of $vezes runs:"
medir 50
medir 5000
