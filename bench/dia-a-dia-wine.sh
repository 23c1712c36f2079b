#!/bin/bash
# make bench-dia: the daily no-update start under Wine on a share whose SELVCOMP.BTR holds N
# workstations, whose KEMVERSAO.BTR holds 20,000 entries and whose components folder holds
# 300 components. Prints the bytes TAVORAN.EXE reads from the record files (the engine's
# counters) and, as medians of several runs, the time from
# starting TAVORAN.EXE to the launch of the application manager's starter (the creation of the
# stand-in KemCriaArq.exe's process, which the stand-in records) beside a trivial program's
# start to its end (it records when its window is up, before destroying it), both started the
# same way in the same run. The stand-ins read Wine's system clock, which is the host's
# real-time clock, the one `date +%s%N` reads just before each start. It also prints what a
# wake-up round trip between two processes costs here: Wine pays one at each server request.
# Runs inside tests/e2e/com-wine.sh. Arguments: <windows build> <native build> [runs].
set -euo pipefail
cd "$(dirname "$0")/.."
build="$1"
tavadmin="$2/tools/tavadmin"
idaevolta="$2/bench/tav_ida_e_volta"
vezes="${3:-21}"  # the machine's noise moves a median of a few starts by tens of milliseconds
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

mediana() { printf '%s\n' "$@" | sort -n | sed -n "$(( ($# + 1) / 2 ))p"; }

# Milliseconds from t0 (ns) to a time the program named $2 recorded in the file $3: field 2 is
# the moment it recorded, field 3 the creation of its process.
desde() {
  local t0="$1" programa="$2" arquivo="$3" campo="$4" t="" espera
  # The stand-in may write after TAVORAN.EXE has ended: wait for its line (10 s at most).
  for espera in $(seq 1 100); do
    [ -f "$arquivo" ] && t=$(tr -d '\r' <"$arquivo" | awk -v p="$programa" -v c="$campo" 'tolower($1) == tolower(p) { print $c; exit }')
    [ -n "$t" ] && break
    sleep 0.1
  done
  [ -n "$t" ] || { echo "no time recorded by $programa" >&2; return 1; }
  echo $(( (t - t0) / 1000000 ))
}

medir() {
  local estacoes="$1"
  preparar_estacao "$build" d "$build/bench/dia-$estacoes"
  preencher_componentes "$build"  # the daily start lists the components folder of a full share
  cp "$build/tests/helpers/ProgramaTrivial.exe" "$ESTACAO_PASTA/ProgramaTrivial.exe"
  manifesto_grande >"$ESTACAO_PASTA/../grande.csv"
  # Building the share need not survive a power failure: its thousands of commits go unflushed.
  export TAV_BTRIEVE_SINCRONIZAR=0
  "$tavadmin" importar "$ESTACAO_PASTA" "$ESTACAO_PASTA/../grande.csv" >/dev/null
  "$tavadmin" gravar-estacao "$ESTACAO_PASTA" "$computador" 1 20261201 08:00:00 usuario 0 >/dev/null
  local i
  for i in $(seq 2 "$estacoes"); do
    "$tavadmin" gravar-estacao "$ESTACAO_PASTA" "EST$(printf '%05d' "$i")" 1 20261201 08:00:00 usuario 0 >/dev/null
  done
  unset TAV_BTRIEVE_SINCRONIZAR
  local contadores="$ESTACAO_PASTA/../contadores.txt" tempos="$ESTACAO_PASTA/../tempos.txt"
  rm -f "$contadores"
  export TAV_REGISTRO_TEMPOS="D:\\tempos.txt"
  # Warm-up: the first start of a program loads Wine's libraries and fills the file cache,
  # and leaves the workstation's copies of the record pages it read.
  wine "$ESTACAO_DIRT\\TAVORAN.EXE" </dev/null >/dev/null 2>&1
  wine "$ESTACAO_DIRT\\ProgramaTrivial.exe" 0 </dev/null >/dev/null 2>&1
  local tempos_t=() tempos_p=()
  for i in $(seq 1 "$vezes"); do
    local t0
    rm -f "$tempos"
    t0=$(date +%s%N)
    TAV_BTRIEVE_CONTADORES="D:\\contadores.txt" wine "$ESTACAO_DIRT\\TAVORAN.EXE" </dev/null >/dev/null 2>&1
    tempos_t+=("$(desde "$t0" KemCriaArq.exe "$tempos" 3)")
    rm -f "$tempos"
    t0=$(date +%s%N)
    wine "$ESTACAO_DIRT\\ProgramaTrivial.exe" 0 </dev/null >/dev/null 2>&1
    tempos_p+=("$(desde "$t0" ProgramaTrivial.exe "$tempos" 2)")
  done
  unset TAV_REGISTRO_TEMPOS
  local mt mp bytes leituras
  mt=$(mediana "${tempos_t[@]}")
  mp=$(mediana "${tempos_p[@]}")
  read -r bytes _ _ leituras < <(head -n 1 "$contadores")
  printf '%6d workstations: record-file bytes read %6d (%.1f KiB) in %s reads\n' "$estacoes" "$bytes" \
    "$(awk -v b="$bytes" 'BEGIN { print b / 1024 }')" "${leituras:-?}"
  printf '    start to starter launch %5d ms, trivial program start to end %5d ms: %+d ms (target: at most +60 ms)\n' \
    "$mt" "$mp" $((mt - mp))
  printf '    runs (ms): TAVORAN.EXE %s; trivial %s\n' "${tempos_t[*]}" "${tempos_p[*]}"
  [ "$(grep -c "KemCriaArq" "$ESTACAO_COMANDOS")" -ge $((vezes + 1)) ] ||
    echo "  (the starter was not launched at every run: a run did not take the daily path)"
}

processadores=$(nproc)
echo "Daily start without update, medians of $vezes runs, Wine on $processadores processor$([ "$processadores" = 1 ] || echo s):"
"$idaevolta"
medir 50
medir 5000
