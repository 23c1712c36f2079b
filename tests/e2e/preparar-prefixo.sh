#!/bin/bash
# Creates the Wine prefix of the test workstation once: 64-bit Windows, pt-BR locale.
set -euo pipefail
prefixo="$1"
[ -f "$prefixo/.pronto" ] && exit 0
rm -rf "$prefixo"
mkdir -p "$(dirname "$prefixo")"
export WINEPREFIX="$prefixo"
. "$(dirname "$0")/wine-ambiente.sh"
wineboot -i >/dev/null 2>&1 || true
wineserver -w
[ -f "$prefixo/system.reg" ] || { echo "preparar-prefixo: Wine did not create $prefixo" >&2; exit 1; }
touch "$prefixo/.pronto"
