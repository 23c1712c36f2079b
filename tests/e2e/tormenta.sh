#!/bin/bash
# The morning storm: eight copies of TAVORAN.EXE started together from eight Wine prefixes
# (copies of the test prefix, each with its Wine server) on one share, five times for one
# computer, then once as eight computers (each copy in a UTS namespace with a host name of its
# own; root only, skipped otherwise). tormenta.sh <tests_e2e.exe> <scratch folder>.
set -euo pipefail
programa="$1"
pasta="$(cd "$2" && pwd)"
original="${WINEPREFIX:-${TAV_WINEPREFIX:?}}"
aqui="$(cd "$(dirname "$0")" && pwd)"
copias=8
repeticoes=5
parte() { "$aqui/wine-run" "$programa" --gtest_filter="Tormenta.$1" --gtest_brief=1; }

# A prefix copy shares the large system folders' files by hard links: the program never
# writes a file in place (it writes beside and renames), so one copy's changes stay its own.
copiar_prefixo() {
  local destino="$1" item
  mkdir -p "$destino/drive_c/windows"
  for item in "$original"/* "$original"/.[!.]*; do
    [ -e "$item" ] || continue
    [ "$(basename "$item")" = drive_c ] || cp -a "$item" "$destino/"
  done
  for item in "$original"/drive_c/*; do [ "$(basename "$item")" = windows ] || cp -a "$item" "$destino/drive_c/"; done
  for item in "$original"/drive_c/windows/*; do
    case "$(basename "$item")" in
      system32|syswow64|winsxs) cp -al "$item" "$destino/drive_c/windows/" ;;
      *) cp -a "$item" "$destino/drive_c/windows/" ;;
    esac
  done
}

TAV_E2E_TORMENTA=preparar parte Preparar
prefixos=()
for i in $(seq 1 $copias); do
  prefixos+=("$pasta/prefixo-tormenta-$i")
  rm -rf "${prefixos[-1]}"
  copiar_prefixo "${prefixos[-1]}"
done
trap 'for p in "${prefixos[@]}"; do WINEPREFIX="$p" wineserver -k 2>/dev/null || true; rm -rf "$p"; done' EXIT

tempestade() {
  local hospedeiro="$1" i pids=()
  TAV_E2E_TORMENTA=reiniciar parte Reiniciar >/dev/null
  for i in $(seq 1 $copias); do
    if [ -n "$hospedeiro" ]; then
      WINEPREFIX="${prefixos[$((i - 1))]}" TAV_E2E_TORMENTA="$i" \
        unshare --uts sh -c "hostname ${hospedeiro}0$i && exec \"$aqui/wine-run\" \"$programa\" --gtest_filter=Tormenta.UmaCopia" \
        >"$pasta/tormenta-$i.txt" 2>&1 &
    else
      WINEPREFIX="${prefixos[$((i - 1))]}" TAV_E2E_TORMENTA="$i" "$aqui/wine-run" "$programa" \
        --gtest_filter=Tormenta.UmaCopia >"$pasta/tormenta-$i.txt" 2>&1 &
    fi
    pids+=($!)
  done
  for i in "${pids[@]}"; do wait "$i" || true; done
}

# "<count> <outcome>" for the copies of the last storm.
resumo() {
  local f
  for f in "$pasta"/compartilhamento/tormenta/*; do head -c 48 "$f" | tr -d '\r\n'; echo; done | sort | uniq -c | tr -s ' ' | tr '\n' ';'
}

# A failed check shows what each copy printed, before the next storm overwrites it.
copias_contam() {
  local i
  for i in $(seq 1 $copias); do echo "--- copy $i:"; tail -n 15 "$pasta/tormenta-$i.txt"; done
}

falhas=0
for r in $(seq 1 $repeticoes); do
  tempestade ""
  echo "--- repetition $r:$(resumo)"
  TAV_E2E_TORMENTA=verificar parte Verificar || { falhas=$((falhas + 1)); copias_contam; }
done
if [ "$(id -u)" -eq 0 ] && unshare --uts true 2>/dev/null; then
  # The display's cookie names this host; a copy with another host name needs one for any host.
  # Read, then merge: two xauth in one pipeline lock the same file at once, and the second can
  # time out waiting for the first.
  if [ -n "${XAUTHORITY:-}" ]; then
    cookies="$(xauth -b -f "$XAUTHORITY" nlist | sed 's/^..../ffff/')"
    printf '%s\n' "$cookies" | xauth -b -f "$XAUTHORITY" nmerge -
  fi
  # A Wine server started under this host's name would give it to every program of its prefix.
  for p in "${prefixos[@]}"; do WINEPREFIX="$p" wineserver -k 2>/dev/null || true; done
  for p in "${prefixos[@]}"; do WINEPREFIX="$p" wineserver -w 2>/dev/null || true; done
  tempestade TAVPC
  echo "--- eight computers:$(resumo)"
  TAV_E2E_TORMENTA=verificar parte VerificarComputadores || { falhas=$((falhas + 1)); copias_contam; }
else
  echo "--- eight computers: skipped (needs root for UTS namespaces)"
fi
[ "$falhas" -eq 0 ]
