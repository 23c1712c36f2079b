#!/bin/bash
# Runs a command with a virtual display and one Wine server kept up for its whole length.
set -euo pipefail
: "${TAV_WINEPREFIX:?}"
. "$(dirname "$0")/wine-ambiente.sh"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi
wineserver -p 2>/dev/null || true
# Start Wine's resident processes here, so that they do not hold a test runner's pipes open.
wine cmd.exe /c exit >/dev/null 2>&1 </dev/null || true
trap 'wineserver -k 2>/dev/null || true' EXIT
"$@"
