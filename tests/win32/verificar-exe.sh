#!/bin/bash
# TAVORAN.EXE must be a 32-bit (i386) PE program that imports only DLLs every Windows has.
set -euo pipefail
exe="$1"
objdump="${2:-i686-w64-mingw32-objdump}"
falhou=0
cabecalho=$("$objdump" -f "$exe")
if ! grep -q "file format pei-i386" <<<"$cabecalho"; then
  echo "not a PE32 i386 file:"; echo "$cabecalho"; falhou=1
fi
grep -q "architecture: i386" <<<"$cabecalho" || { echo "architecture is not i386"; falhou=1; }
permitidas="^(kernel32|user32|gdi32|advapi32|shell32|comctl32|comdlg32|ole32|oleaut32|version|mpr|msvcrt|ws2_32|wsock32|iphlpapi|icmp|wtsapi32|netapi32|secur32|crypt32|shlwapi|userenv|psapi|uxtheme|winmm|ntdll|rpcrt4|bcrypt|api-ms-win-[a-z0-9-]+)\.dll$"
dlls=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p')
[ -n "$dlls" ] || { echo "no import table found"; falhou=1; }
while read -r dll; do
  [ -z "$dll" ] && continue
  if ! tr 'A-Z' 'a-z' <<<"$dll" | grep -Eq "$permitidas"; then
    echo "imports a DLL that Windows does not ship: $dll"; falhou=1
  fi
done <<<"$dlls"
echo "imports: $(tr '\n' ' ' <<<"$dlls")"
exit $falhou
