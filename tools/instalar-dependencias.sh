#!/bin/bash
# Installs what the two builds and the Wine tests need on a fresh Debian machine,
# skipping what is already there. Chromium renders the fleet page in its browser test.
set -euo pipefail
pacotes=(cmake make g++ googletest libgtest-dev libgmock-dev clang libclang-rt-14-dev
         g++-mingw-w64-i686-posix mingw-w64-i686-dev binutils-mingw-w64-i686
         g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
         mingw-w64-tools wine wine32:i386 wine64 xvfb xauth x11-apps imagemagick file libsqlite3-dev python3
         chromium)
faltando=()
for p in "${pacotes[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || faltando+=("$p")
done
[ ${#faltando[@]} -eq 0 ] && exit 0
sudo_=""
[ "$(id -u)" -ne 0 ] && sudo_="sudo"
if ! dpkg --print-foreign-architectures | grep -qx i386; then $sudo_ dpkg --add-architecture i386; fi
$sudo_ apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo_ apt-get install -y -q --no-install-recommends "${faltando[@]}"
