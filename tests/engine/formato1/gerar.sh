#!/bin/bash
# Writes this folder's record files again with the engine that wrote format 1 (commit
# 842b96c, the last before format 2): that commit's sources are exported to a temporary
# folder, built with GeradorFormato1.cpp, and the generator writes the files here.
# Usage: tests/engine/formato1/gerar.sh
set -euo pipefail
aqui=$(cd "$(dirname "$0")" && pwd)
raiz=$(git -C "$aqui" rev-parse --show-toplevel)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir "$tmp/fontes"
git -C "$raiz" archive 842b96c | tar -x -C "$tmp/fontes"
cp "$aqui/GeradorFormato1.cpp" "$tmp/fontes/tools/"
cat >>"$tmp/fontes/tools/CMakeLists.txt" <<'CMAKE'
add_executable(gerador_formato1 GeradorFormato1.cpp)
target_link_libraries(gerador_formato1 PRIVATE tav_tavadmin tav_engine_lib)
CMAKE
cmake -S "$tmp/fontes" -B "$tmp/build" -DCMAKE_BUILD_TYPE=Release -DTAV_TESTS=OFF >/dev/null
cmake --build "$tmp/build" -j2 --target gerador_formato1 >/dev/null
rm -rf "$tmp/saida"
"$tmp/build/tools/gerador_formato1" "$tmp/saida"
rm -f "$aqui"/*.BTR "$aqui"/*.BLQ "$aqui"/*.DAT "$aqui"/queda/*
mkdir -p "$aqui/queda"
cp "$tmp/saida"/*.* "$aqui/"
cp "$tmp/saida/queda"/* "$aqui/queda/"
ls -l "$aqui" "$aqui/queda"
