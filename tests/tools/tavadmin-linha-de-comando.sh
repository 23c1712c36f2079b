#!/bin/bash
# Runs the real tavadmin over a fresh folder: status file, force flag, import, listing,
# verification, the fleet page, and the refusals that must exit non-zero without writing.
# Usage: tavadmin-linha-de-comando.sh <path prefix> <program...>; the prefix is "Z:" for
# a Windows build run through Wine ("wine-run tavadmin.exe"), empty for the Linux build.
set -u
prefixo="$1"
shift
tavadmin=("$@")
local_=$(mktemp -d)
trap 'rm -rf "$local_"' EXIT
falhas=0
esperar() {  # exit code, then the command
  local codigo=$1
  shift
  "${tavadmin[@]}" "$@" >"$local_/saida" 2>"$local_/erros"
  local real=$?
  if [ "$real" -ne "$codigo" ]; then
    echo "FALHA: tavadmin $* saiu com $real, esperado $codigo"; cat "$local_/saida" "$local_/erros"; falhas=$((falhas + 1))
  fi
}
contem() {  # text, then the files to look in (the command's output by default)
  local texto=$1
  shift
  [ $# -eq 0 ] && set -- "$local_/saida" "$local_/erros"
  if ! grep -qF -- "$texto" "$@"; then
    echo "FALHA: faltou \"$texto\""; cat "$@"; falhas=$((falhas + 1))
  fi
}

pasta="$prefixo$local_"
esperar 0 criar-status "$pasta"
esperar 0 gravar-estacao "$pasta" ws07 1 20261208 09:05:07 joao 0
esperar 0 gravar-estacao "$pasta" ws08 1 20261207 18:00:00 maria 1
esperar 0 forcar "$pasta" WS07 1
esperar 0 estacoes "$pasta"
contem "WS07                           1      20261208 09:05:07 joao                 1"
contem "2 estações."
esperar 1 forcar "$pasta" WS99 1
contem "não está no arquivo"
esperar 0 remover "$pasta" WS08
esperar 0 verificar "$pasta/SELVCOMP.BTR"
contem "Arquivo íntegro."

cabecalho="VersaoSistema;CaminhoProgramaArquivo;NomeProgramaArquivo;VersaoPrograma;hash;RegDataCriacao;RegDataUltAlteracao;Observacao;Funcionando;Beta;VersaoOrdenacao;Boletim"
printf '%s\r\n8.0;\\KEM;TAVORAN.EXE;8.0.0.1;h1;20260101;20260102;versão inicial;1;0;0008.0000.0000.0001;B1\r\n8.0;\\KEM;KEM.EXE;8.1.0.0;h2;20260101;20260102;;1;0;0008.0001.0000.0000;B2\r\n' \
  "$cabecalho" >"$local_/manifesto.csv"
esperar 0 importar "$pasta" "$pasta/manifesto.csv"
contem "2 entradas importadas"
esperar 0 versoes "$pasta"
contem "8.0;\\KEM;TAVORAN.EXE;8.0.0.1;h1;20260101;20260102;versão inicial;1;0;0008.0000.0000.0001;B1"
printf '%s\r\n8.0;\\KEM;NOVO.EXE;1\r\n' "$cabecalho" >"$local_/ruim.csv"
esperar 1 importar "$pasta" "$pasta/ruim.csv"
contem "Linha 2 do manifesto"
esperar 0 verificar "$pasta/KEMVERSAO.BTR"
contem "Registros: 2"
printf 'isto não é um arquivo Btrieve, apenas texto qualquer para o teste\n%.0s' {1..80} >"$local_/LIXO.BTR"
esperar 1 verificar "$pasta/LIXO.BTR"

mkdir -p "$local_/Logs/RYX/Erros"
: >"$local_/Logs/RYX/WS07 (2026-12-08_09-05-07).HTML"
: >"$local_/Logs/RYX/Erros/WS07 (2026-12-08_09-05-09).HTML"
cp "$local_/SELVCOMP.BTR" "$local_/RYXWS07.BLQ"  # a lock file nobody holds
esperar 0 painel "$pasta" "$pasta/painel.html"
contem "Painel gravado"
contem "<td>WS07</td><td>1</td><td>2026-12-08</td><td>09:05:07</td><td>joao</td><td>Sim</td>" "$local_/painel.html"
contem "<a href='Logs/RYX/Erros/WS07%20%282026-12-08_09-05-09%29.HTML'>" "$local_/painel.html"
contem "<td>RYXWS07.BLQ</td><td>WS07</td><td><span class='abandonado'>" "$local_/painel.html"
contem "<svg " "$local_/painel.html"
esperar 1 painel "$pasta/nada" "$pasta/outra.html"
contem "SELVCOMP.BTR\" n"
exit $((falhas > 0))
