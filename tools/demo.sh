#!/bin/bash
# make demo: a demo share on drive P: of the Wine prefix, one start of TAVORAN.EXE that walks
# as far as the sequence goes today, a screenshot of the progress window while it is up,
# and where everything landed. Runs inside tests/e2e/com-wine.sh (display and prefix set).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/windows}"
. tools/estacao-wine.sh
saida="$build/demo"
mkdir -p "$saida"
preparar_estacao "$build" p "$saida/compartilhamento"
tela="$(cd "$saida" && pwd)/tavoran-progresso.png"
rm -f "$tela" "$saida/compartilhamento/pronto" "$saida/compartilhamento/continuar"

# CapturarJanela freezes the program while its window is up, so that the screenshot
# catches it however fast the sequence is; the program then goes on unchanged.
wine "$build/tests/helpers/CapturarJanela.exe" "$ESTACAO_DIRT\\TAVORAN.EXE" 'P:\pronto' 'P:\continuar' \
  </dev/null >/dev/null 2>&1 &
captura=$!
for _ in $(seq 1 300); do
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

echo
echo "Demo workstation: drive P: = $saida/compartilhamento, DIR_T = $ESTACAO_DIRT"
if [ -e "$tela" ]; then
  echo "Screenshot of the progress window: $tela"
  echo "                          cropped: ${tela%.png}-janela.png"
else
  echo "The progress window was not caught on screen (no screenshot)."
fi
echo "Reports (Logs\\RYX, Logs\\RYX\\Erros): $ESTACAO_PASTA/Logs/RYX"
find "$ESTACAO_PASTA/Logs" -type f -printf '  %P (%s bytes)\n' 2>/dev/null || true
[ -z "$(find "$ESTACAO_PASTA/Logs" -type f 2>/dev/null)" ] && echo "  (no report file: nothing was written this run)"
echo "Programs and documents the run started:"
if [ -s "$ESTACAO_COMANDOS" ]; then sed 's/\r$//; s/^/  /' "$ESTACAO_COMANDOS"; else echo "  (none)"; fi
