#!/bin/bash
# Creates the Wine prefix of the test workstation once: 64-bit Windows, pt-BR locale.
set -euo pipefail
prefixo="$1"
[ -f "$prefixo/.pronto" ] && exit 0
rm -rf "$prefixo"
mkdir -p "$(dirname "$prefixo")"
export WINEPREFIX="$prefixo" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineboot -i >/dev/null 2>&1 || true
wineserver -w
touch "$prefixo/.pronto"
