#pragma once
// A workstation of fakes: its Windows folders with the libraries the start needs, the engine's
// client, the chart control, and COM libraries that register themselves in the fake registry.
#include <string>

#include "tests/fakes/Falsos.h"

namespace tavoran::testes {

inline constexpr const char* kSistema = "C:\\WINDOWS\\SYSWOW64";

// The Windows folders of the workstation (the 32-bit system folder is SysWOW64).
inline void PrepararWindows(AmbienteFalso& f) {
  f.pastasEspeciais->caminhos[36] = "C:\\Windows";
  f.pastasEspeciais->caminhos[41] = "C:\\Windows\\SysWOW64";
  f.arquivos->CriarPastas("C:\\Windows\\SysWOW64");
  // The libraries that the window and the suite need before anything else, already there.
  for (const char* nome : {"mscomct2.ocx", "mscomctl.ocx", "scrrun.dll", "TavUsu20.dll", "Tavusu602.dll",
                           "TavUtil20.dll", "TavBtr602.dll", "TavBtr20.dll", "TavDoctorG.dll", "TavErro.dll",
                           "TavSQL20.dll", "vbdti80.dll"})
    f.arquivos->CriarArquivo(std::string("C:\\Windows\\SysWOW64\\") + nome, "MZ");
  // The chart control, registered.
  f.registro->DefinirTexto("TeeChart.TChart\\CLSID", "", "{FAB9B41C-87D6-474D-AB7E-F07D78F2422E}",
                           RaizRegistro::ClassesRoot);
  // The engine's client, whose companion files go to its BIN folder.
  f.registro->DefinirTexto("SOFTWARE\\Pervasive Software\\Products\\Pervasive.SQL Client\\InstallInfo", "InstallDir",
                           "C:\\PVSW");
  f.arquivos->CriarPastas("C:\\PVSW\\BIN");
}

// A COM library of the share: its bytes name it; registering it records its type library and
// its class in HKCR, unregistering removes them.
inline void CriarComponenteCom(AmbienteFalso& f, const std::string& caminho, const std::string& versao,
                               const std::string& guid, const std::string& progId = "") {
  const std::string bytes = "MZ-COM-" + guid + "-" + versao;
  f.arquivos->CriarArquivo(caminho, bytes);
  f.arquivos->DefinirVersao(caminho, versao);
  IdTypeLib id{guid, 1, 0, 0};
  f.com->typeLibs[bytes] = id;
  RegistroFalso* r = f.registro;
  const std::string chave = ComFalso::ChaveTypeLib(id);
  BibliotecasFalsas::Biblioteca b;
  b.funcoes["DllRegisterServer"] = [r, chave, progId, guid] {
    r->DefinirTexto(chave, "", "registrada", RaizRegistro::ClassesRoot);
    if (!progId.empty()) r->DefinirTexto(progId + "\\CLSID", "", guid, RaizRegistro::ClassesRoot);
  };
  b.funcoes["DllUnregisterServer"] = [r, chave, progId] {
    r->ExcluirChave(chave, RaizRegistro::ClassesRoot);
    if (!progId.empty()) r->ExcluirChave(progId + "\\CLSID", RaizRegistro::ClassesRoot);
  };
  f.bibliotecas->bibliotecas[bytes] = b;
}

}  // namespace tavoran::testes
