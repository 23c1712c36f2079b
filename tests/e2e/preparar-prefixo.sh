#!/bin/bash
# Creates the Wine prefix of the test workstation once: 64-bit Windows, with drive N:
# mapped as the network share \\localhost\tavoran (preparar-unidade.sh points the share at a
# folder). Wine reads drive types when its server starts, so this is done here, before any test.
set -euo pipefail
prefixo="$1"
marcador="$prefixo/.pronto-v3"
[ -f "$marcador" ] && exit 0
rm -rf "$prefixo"
mkdir -p "$(dirname "$prefixo")"
export WINEPREFIX="$prefixo"
. "$(dirname "$0")/wine-ambiente.sh"
wineboot -i >/dev/null 2>&1 || true
wineserver -w
[ -f "$prefixo/system.reg" ] || { echo "preparar-prefixo: Wine did not create $prefixo" >&2; exit 1; }
mkdir -p "$prefixo/dosdevices/unc/localhost"
ln -sfn unc/localhost/tavoran "$prefixo/dosdevices/n:"
wine 'C:\windows\system32\reg.exe' add 'HKLM\Software\Wine\Drives' /v n: /d network /f /reg:64 >/dev/null 2>&1 </dev/null
# The virtual display runs no window manager: Wine is told so, or every window it hides
# waits two seconds for a window manager's answer that never comes.
wine 'C:\windows\system32\reg.exe' add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
wineserver -w
touch "$marcador"
