#!/bin/bash
# Maps a folder of the build as a drive letter of the test prefix (a dosdevices link), the
# test workstation's view of the share, and as the network share \\localhost\tavoran that
# drive N: reaches: preparar-unidade.sh <letter> <folder>.
set -euo pipefail
letra="$1"
pasta="$2"
prefixo="${WINEPREFIX:-${TAV_WINEPREFIX:?}}"
mkdir -p "$pasta" "$prefixo/dosdevices/unc/localhost"
pasta="$(cd "$pasta" && pwd)"
ln -sfn "$pasta" "$prefixo/dosdevices/${letra,,}:"
ln -sfn "$pasta" "$prefixo/dosdevices/unc/localhost/tavoran"
