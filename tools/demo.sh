#!/bin/bash
# make demo: a demo share on drive P: of the Wine prefix holding a component of every kind;
# the first start of the workstation (basic libraries, the update under the lock, every
# component copied and registered, the workstation recorded, the application manager's
# starter launched) with a screenshot of the progress window in the middle of a component
# step; then the second start, which finds the record and starts the manager at once.
# Runs inside tests/e2e/com-wine.sh (display and prefix set).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/windows}"
. tools/estacao-wine.sh
saida="$build/demo"
mkdir -p "$saida"
preparar_estacao "$build" p "$saida/compartilhamento"
preparar_componentes_demo "$build"
tela="$(cd "$saida" && pwd)/tavoran-progresso.png"
rm -f "$tela" "${tela%.png}-janela.png" "$saida/compartilhamento/pronto" "$saida/compartilhamento/continuar"

# First start. CapturarJanela freezes the program once its step text names a component, so
# that the screenshot catches the bar in the middle of the update; the program then goes on.
# RegAsm's stand-in writes each type library 1.2 s late, as a slow workstation would: the
# program, updating the assembly that lost its type library, waits for it with the window
# responsive, which is the moment the screenshot shows.
TAV_REGASM_ATRASO_MS=1200 wine "$build/tests/helpers/CapturarJanela.exe" "$ESTACAO_DIRT\\TAVORAN.EXE" 'P:\pronto' \
  'P:\continuar' "Atualizando '" </dev/null >/dev/null 2>&1 &
captura=$!
for _ in $(seq 1 600); do
  [ -e "$saida/compartilhamento/pronto" ] && break
  kill -0 $captura 2>/dev/null || break
  sleep 0.1
done
if [ -e "$saida/compartilhamento/pronto" ]; then
  import -window root "$tela"
  # The progress window sits in the middle of the screen; keep that part too.
  convert "$tela" -gravity center -crop 560x220+0+0 +repage "${tela%.png}-janela.png"
fi
touch "$saida/compartilhamento/continuar"
wait $captura || true
# The programs a start launched record themselves when they run, possibly after it ended:
# the starter of the application manager is the last of them.
comandos() {
  local _
  for _ in $(seq 1 100); do
    grep -q "KemCriaArq" "$ESTACAO_COMANDOS" 2>/dev/null && break
    sleep 0.1
  done
  cat "$ESTACAO_COMANDOS" 2>/dev/null || true
}
primeira="$(comandos)"

# Second start: the workstation is recorded, so the manager starts at once.
rm -f "$ESTACAO_COMANDOS"
wine "$ESTACAO_DIRT\\TAVORAN.EXE" </dev/null >/dev/null 2>&1 || true
segunda="$(comandos)"

listar() { if [ -n "$1" ]; then printf '%s\n' "$1" | sed 's/\r$//; s/^/  /'; else echo "  (none)"; fi; }
echo
echo "Demo workstation: drive P: = $saida/compartilhamento, DIR_T = $ESTACAO_DIRT"
echo "Share: $(find "$ESTACAO_PASTA/KORA" -type f | wc -l) component files under KORA"
if [ -e "$tela" ]; then
  echo "Screenshot of the progress window during a component step: $tela"
  echo "                                                   cropped: ${tela%.png}-janela.png"
else
  echo "The progress window was not caught on screen (no screenshot)."
fi
echo "Reports (Logs\\RYX, Logs\\RYX\\Erros): $ESTACAO_PASTA/Logs/RYX"
find "$ESTACAO_PASTA/Logs" -type f -printf '  %P (%s bytes)\n' 2>/dev/null || true
for relatorio in "$ESTACAO_PASTA"/Logs/RYX/*.HTML; do
  [ -e "$relatorio" ] || continue
  echo "Update report rows: $(grep -c "<td class='tdOK' style='text-align:left'>" "$relatorio") done," \
    "$(grep -c "<td class='tdErro' style='text-align:center'>ERRO" "$relatorio") failed"
  iconv -f WINDOWS-1252 -t UTF-8 "$relatorio" | grep -o "style='text-align:left'>[^<]*" | sed "s/^style='text-align:left'>/  /"
done
[ -n "$(ls "$ESTACAO_PASTA/Logs/RYX/Erros" 2>/dev/null)" ] && echo "The inconsistency report holds entries (it opened in the browser stand-in)."
echo "Programs and documents the first start started:"
listar "$primeira"
echo "Programs the second start started:"
listar "$segunda"
