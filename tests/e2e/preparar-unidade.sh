#!/bin/bash
# Maps a folder of the build as a drive letter of the test prefix (a dosdevices link),
# the test workstation's view of the share: preparar-unidade.sh <letter> <folder>.
set -euo pipefail
letra="$1"
pasta="$2"
prefixo="${WINEPREFIX:-${TAV_WINEPREFIX:?}}"
mkdir -p "$pasta"
ln -sfn "$(cd "$pasta" && pwd)" "$prefixo/dosdevices/${letra,,}:"
