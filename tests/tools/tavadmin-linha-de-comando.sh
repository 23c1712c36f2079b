#!/bin/bash
# Runs the real tavadmin over a fresh folder: status file, force flag, import, listing,
# verification, and the refusals that must exit non-zero without writing.
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
contem() {
  if ! grep -qF -- "$1" "$local_/saida" "$local_/erros"; then
    echo "FALHA: faltou \"$1\""; cat "$local_/saida" "$local_/erros"; falhas=$((falhas + 1))
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
exit $((falhas > 0))
