#!/bin/bash
# The fleet page in a real browser: builds a share with tavadmin (workstations, reports of
# the last days, a stale lock file), writes the page, lets headless Chromium take a
# screenshot and checks that the table and the chart are on it by their colours.
# Usage: painel-chromium.sh <tavadmin> <folder for the share, the page and painel.png>
# Exit 77 (skipped) only when Chromium cannot start at all.
set -u
tavadmin="$1"
saida="$2"
compartilhamento="$saida/compartilhamento"
tela="$saida/painel.png"
perfil=$(mktemp -d)
trap 'rm -rf "$perfil"' EXIT

if ! chromium --version >/dev/null 2>&1; then
  echo "Chromium não inicia aqui (pacote chromium ausente?): teste ignorado."
  exit 77
fi
falhar() { echo "FALHA: $*"; exit 1; }

rm -rf "$compartilhamento" "$tela"
mkdir -p "$compartilhamento/Logs/RYX/Erros" || falhar "pasta $compartilhamento"
dia() { date -d "-$1 days" +%Y%m%d; }
carimbo() { date -d "-$1 days" +%Y-%m-%d_09-1$2-00; }
"$tavadmin" criar-status "$compartilhamento" >/dev/null || falhar "criar-status"
estacao=0
for usuario in joao maria ana pedro carla bruno; do
  estacao=$((estacao + 1))
  forcar=$((estacao % 3 == 0 ? 1 : 0))
  "$tavadmin" gravar-estacao "$compartilhamento" "WS0$estacao" 1 "$(dia "$estacao")" 09:10:00 "$usuario" "$forcar" \
    >/dev/null || falhar "gravar-estacao WS0$estacao"
  # Two update reports per workstation over the last weeks, one inconsistency report for some.
  for atras in "$estacao" $((estacao * 4)); do
    : >"$compartilhamento/Logs/RYX/WS0$estacao ($(carimbo "$atras" "$estacao")).HTML"
  done
  [ "$forcar" = 1 ] && : >"$compartilhamento/Logs/RYX/Erros/WS0$estacao ($(carimbo "$estacao" 0)).HTML"
done
# Any Btrieve file serves as a lock file: only whether someone holds it open counts.
cp "$compartilhamento/SELVCOMP.BTR" "$compartilhamento/RYXWS03.BLQ"
"$tavadmin" painel "$compartilhamento" "$compartilhamento/painel.html" || falhar "tavadmin painel"

timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
  --disable-background-networking --disable-component-update --disable-sync --user-data-dir="$perfil" \
  --hide-scrollbars --window-size=1100,900 --screenshot="$tela" "file://$compartilhamento/painel.html" \
  >"$saida/chromium.log" 2>&1
[ -s "$tela" ] || { cat "$saida/chromium.log"; falhar "Chromium não gravou $tela"; }

# Pixels of one exact colour: everything else black, that colour white, then the mean.
pixels() {
  convert "$tela" -alpha off -fill black +opaque "$1" -fill white -opaque "$1" -format '%[fx:int(mean*w*h+0.5)]' info:
}
verificar() {  # colour, minimum pixels, what it shows
  local n
  n=$(pixels "$1") || falhar "convert"
  [ "$n" -ge "$2" ] || falhar "$3: $n pixels de $1 na captura, esperados ao menos $2"
}
verificar "#3B5B7A" 5000 "cabeçalhos das tabelas"
verificar "#FFF2CC" 2000 "linhas de atualização forçada pendente"
verificar "#2A6FDB" 1000 "barras do gráfico"
cores=$(identify -format '%k' "$tela") || falhar "identify"
[ "$cores" -ge 50 ] || falhar "a captura tem só $cores cores"
echo "Captura do painel: $tela ($cores cores)"
