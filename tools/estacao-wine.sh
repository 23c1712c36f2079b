#!/bin/bash
# Shared by the demo and the start-up benchmark: a workstation in the Wine prefix whose
# mapped drive holds the suite's main directory with TAVORAN.EXE, a recording stand-in of
# the application manager's starter and the default-data file; the registry points at it.
# Source it, then: preparar_estacao <windows build dir> <drive letter> <share folder>.
# Sets ESTACAO_DIRT (Windows path), ESTACAO_PASTA (Unix path of the main directory) and
# ESTACAO_COMANDOS (Unix path of the file the stand-ins write their command lines to).

reg32() { wine 'C:\windows\system32\reg.exe' "$@" /reg:32 >/dev/null 2>&1 </dev/null; }
reg64() { wine 'C:\windows\system32\reg.exe' "$@" /reg:64 >/dev/null 2>&1 </dev/null; }

preparar_estacao() {
  local build="$1" letra="${2,,}" compartilhamento="$3"
  local prefixo="${WINEPREFIX:?WINEPREFIX is not set (run inside tests/e2e/com-wine.sh)}"
  rm -rf "$compartilhamento"
  mkdir -p "$compartilhamento/Tavoran.win/TvGeral/Arquivos"
  compartilhamento="$(cd "$compartilhamento" && pwd)"
  ln -sfn "$compartilhamento" "$prefixo/dosdevices/$letra:"
  ESTACAO_PASTA="$compartilhamento/Tavoran.win"
  ESTACAO_DIRT="${letra^^}:\\Tavoran.win"
  ESTACAO_COMANDOS="$compartilhamento/comandos.txt"
  cp "$build/programa/TAVORAN.EXE" "$ESTACAO_PASTA/TAVORAN.EXE"
  cp "$build/tests/helpers/KemCriaArq.exe" "$ESTACAO_PASTA/KemCriaArq.exe"
  # The engine's interface library, beside the program as an installed engine would be.
  cp "$build/engine/wbtrv32.dll" "$ESTACAO_PASTA/wbtrv32.dll"
  local c
  {
    printf '<?xml version="1.0" encoding="windows-1252"?>\r\n<DadosPadrao>\r\n'
    for c in 1 2 3 4 5 6 8 9 10 11 12 13 14 16 17 18 19 20 21 22 23 26; do
      printf '  <Item id="C%s" value="https://ajuda.tavoran.com.br/artigos/C%s"/>\r\n' "$c" "$c"
    done
    printf '</DadosPadrao>\r\n'
  } >"$ESTACAO_PASTA/TvGeral/Arquivos/Dados_Padrao_Tavoran.config"
  reg32 add 'HKLM\SOFTWARE\Tavoran\DIR_T' /ve /t REG_SZ /d "$ESTACAO_DIRT" /f
  reg32 add 'HKLM\SOFTWARE\Tavoran\DIR_T' /v UNC /t REG_SZ /d '\\servidor\tavoran\Tavoran.win' /f
  # Documents and links the program opens go to a recording stand-in browser.
  local navegador
  navegador="$(winepath -w "$build/tests/helpers/NavegadorFalso.exe" 2>/dev/null)"
  for c in http https htmlfile; do
    reg32 add "HKLM\\Software\\Classes\\$c\\shell\\open\\command" /ve /d "\"$navegador\" \"%1\"" /f
    reg64 add "HKLM\\Software\\Classes\\$c\\shell\\open\\command" /ve /d "\"$navegador\" \"%1\"" /f
  done
  reg32 add 'HKLM\Software\Classes\.html' /ve /d htmlfile /f
  reg64 add 'HKLM\Software\Classes\.html' /ve /d htmlfile /f
  export TAV_REGISTRO_COMANDOS="${letra^^}:\\comandos.txt"
  rm -f "$ESTACAO_COMANDOS"
  preparar_versoes "$build"
  preparar_componentes "$build"
}

# The 32-bit system folder of the prefix, where the program installs components.
pasta_sistema() { echo "${WINEPREFIX:?}/drive_c/windows/syswow64"; }

# The libraries the window and the suite check before anything else are on the workstation
# (their presence is all that is checked); the share holds the type-library browser.
preparar_componentes() {
  local build="$1" sistema nome
  sistema="$(pasta_sistema)"
  for nome in mscomct2.ocx mscomctl.ocx scrrun.dll TavUsu20.dll Tavusu602.dll TavUtil20.dll TavBtr602.dll \
      TavBtr20.dll TavDoctorG.dll TavErro.dll TavSQL20.dll; do
    [ -e "$sistema/$nome" ] || cp "$build/tests/helpers/ComponenteV2_10.dll" "$sistema/$nome"
  done
  mkdir -p "$ESTACAO_PASTA/KORA/COMPONENTES" "$ESTACAO_PASTA/KORA/WINDOWSLIBRARY"
  cp "$build/tests/helpers/com/ComTlb.dll" "$ESTACAO_PASTA/KORA/COMPONENTES/TLBINF32.DLL"
}

# The start-up programs (copies of TAVORAN.EXE, version 1.0.0.0) and the version file that
# expects them, imported with tavadmin; the starter stand-in has no version, so none is expected.
preparar_versoes() {
  local build="$1"
  mkdir -p "$ESTACAO_PASTA/KEM"
  cp "$build/programa/TAVORAN.EXE" "$ESTACAO_PASTA/TAVORAN2.EXE"
  cp "$build/programa/TAVORAN.EXE" "$ESTACAO_PASTA/KEM/KEMGRAVAARQUIVOWSE.EXE"
  local manifesto="$ESTACAO_PASTA/../manifesto.csv" p
  {
    printf 'VersaoSistema;CaminhoProgramaArquivo;NomeProgramaArquivo;VersaoPrograma;hash;RegDataCriacao;'
    printf 'RegDataUltAlteracao;Observacao;Funcionando;Beta;VersaoOrdenacao;Boletim\r\n'
    for p in TAVORAN.EXE:1.0.0.0 TAVORAN2.EXE:1.0.0.0 KEMCRIAARQ.EXE: KEMGRAVAARQUIVOWSE.EXE:1.0.0.0; do
      printf '5.0;;%s;%s;;20261201;20261201;;1;0;0005.0000;\r\n' "${p%%:*}" "${p#*:}"
    done
  } >"$manifesto"
  wine "$build/tools/tavadmin.exe" importar "$ESTACAO_DIRT" "$(winepath -w "$manifesto")" </dev/null >/dev/null 2>&1
}

# A share with a component of every kind (COM libraries with type libraries, a plain library,
# an executable, .NET assemblies with a version folder, the browser runtime's files and
# languages, the suite's COM executable), RegAsm as a recording stand-in in the framework
# folder, and none of them on the workstation yet.
preparar_componentes_demo() {
  local build="$1" sistema helpers kora net nome
  sistema="$(pasta_sistema)"
  helpers="$build/tests/helpers"
  kora="$ESTACAO_PASTA/KORA/COMPONENTES"
  net="$ESTACAO_PASTA/KORA/COMPONENTES.NET"
  mkdir -p "$net/V40/copiar" "$net/V40/registrar" "$net/CEFSHARP/LOCALES"
  cp "$helpers/com/ComA.dll" "$kora/TavRelatorios.dll"
  cp "$helpers/com/ComB.dll" "$kora/TavGrafico.ocx"
  cp "$helpers/com/ComC.dll" "$kora/TavCalculo.dll"
  cp "$helpers/ComponenteV2_10.dll" "$kora/TavTexto.dll"
  cp "$helpers/ProgramaV1.exe" "$kora/TavAgenda.exe"
  cp "$helpers/ComponenteV2_10.dll" "$net/Tavoran.Core.dll"
  cp "$helpers/ComponenteV2_10.dll" "$net/Tavoran.Services.dll"
  cp "$helpers/ProgramaV1.exe" "$net/TAVINTEGCNPJ.EXE"
  cp "$helpers/ComponenteV2_10.dll" "$net/V40/copiar/TavNet40.dll"
  cp "$helpers/ComponenteV2_10.dll" "$net/V40/registrar/TavNet40Com.dll"
  for nome in cef.pak libcef.dll CefSharp.dll icudtl.dat; do cp "$helpers/SemVersao.dll" "$net/CEFSHARP/$nome"; done
  for nome in pt-BR.pak en-US.pak; do cp "$helpers/SemVersao.dll" "$net/CEFSHARP/LOCALES/$nome"; done
  mkdir -p "$WINEPREFIX/drive_c/windows/Microsoft.NET/Framework/v4.0.30319"
  cp "$helpers/RegAsm.exe" "$WINEPREFIX/drive_c/windows/Microsoft.NET/Framework/v4.0.30319/RegAsm.exe"
  wine regsvr32 /u /s "$(winepath -w "$helpers/com/ComA.dll")" </dev/null >/dev/null 2>&1 || true
  for nome in TLBINF32.DLL TAVRELATORIOS.DLL TAVGRAFICO.OCX TAVCALCULO.DLL TAVTEXTO.DLL TAVAGENDA.EXE \
      TAVORAN.CORE.DLL TAVORAN.CORE.tlb TAVORAN.SERVICES.DLL TAVORAN.SERVICES.tlb TAVINTEGCNPJ.EXE CEF.PAK \
      LIBCEF.DLL CEFSHARP.DLL ICUDTL.DAT; do
    find "$sistema" -maxdepth 1 -iname "$nome" -delete
  done
  rm -rf "$sistema/CompDotNetVelmora" "$sistema/locales"
  # One assembly is there but lost its type library: the start registers it again and waits
  # for the library that RegAsm writes late, the moment the demo's screenshot shows.
  cp "$helpers/ComponenteV2_10.dll" "$sistema/TAVORAN.CORE.DLL"
}

# The benchmarks' share: 100 COM libraries with type libraries and 200 executables in the
# components folder, each executable padded to 170 KB (an overlay the loader ignores), about
# 100 MB in all.
preencher_componentes() {
  local build="$1" componentes="$ESTACAO_PASTA/KORA/COMPONENTES" i
  # Padding after the sections (an overlay the loader ignores) gives the sizes of real
  # components: about 100 MB in all.
  for i in $(seq -w 1 100); do
    cp "$build/tests/helpers/com/ComA.dll" "$componentes/COM$i.DLL"
    head -c $((650 * 1024 - $(stat -c %s "$build/tests/helpers/com/ComA.dll"))) /dev/zero >>"$componentes/COM$i.DLL"
  done
  for i in $(seq -w 1 200); do
    cp "$build/tests/helpers/ProgramaV1.exe" "$componentes/PROG$i.EXE"
    head -c $((170 * 1024 - $(stat -c %s "$build/tests/helpers/ProgramaV1.exe"))) /dev/zero >>"$componentes/PROG$i.EXE"
  done
}
