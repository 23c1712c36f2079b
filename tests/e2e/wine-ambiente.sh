# Sourced by the Wine scripts: the prefix, quiet output, and the 64-bit loader first in
# PATH where this computer cannot run 32-bit programs (decided once, kept in TAV_WINE_ARQ).
export WINEPREFIX="${WINEPREFIX:-${TAV_WINEPREFIX:-$HOME/.tavoran/wineprefix}}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
_tav_e2e="$(cd "$(dirname "${BASH_SOURCE:-$0}")" && pwd)"
export TAV_WINE_ARQ="${TAV_WINE_ARQ:-$("$_tav_e2e/arquitetura-wine.sh")}"
if [ "$TAV_WINE_ARQ" = x86_64 ]; then
  case ":$PATH:" in *":$_tav_e2e/wine64:"*) ;; *) export PATH="$_tav_e2e/wine64:$PATH" ;; esac
  export WINELOADER=/usr/lib/wine/wine64
fi
