#include "platform/win32/PastasEspeciaisWin32.h"

#include <windows.h>
#include <shlobj.h>

#include "platform/Texto.h"

namespace tavoran::win32 {

ResultadoPastaEspecial PastasEspeciaisWin32::Caminho(int csidl, std::string& caminho) {
  auto resposta = respostas_.find(csidl);
  if (resposta == respostas_.end()) {
    std::string lido;
    const ResultadoPastaEspecial r = Consultar(csidl, lido);
    resposta = respostas_.emplace(csidl, std::make_pair(r, lido)).first;
  }
  if (resposta->second.first == ResultadoPastaEspecial::Ok) caminho = resposta->second.second;
  return resposta->second.first;
}

ResultadoPastaEspecial PastasEspeciaisWin32::Consultar(int csidl, std::string& caminho) {
  // A folder of the file system answers straight from the shell's folder table; going through
  // an item list parses the path back through the shell's namespace, many times the cost.
  char buffer[MAX_PATH + 1] = {};
  if (SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer) == S_OK && buffer[0] != '\0') {
    caminho = DeCp1252(AteNulo(std::string(buffer, sizeof buffer)));
    return ResultadoPastaEspecial::Ok;
  }
  // Virtual folders and absent ones: the item list tells which of the two steps fails.
  LPITEMIDLIST lista = nullptr;
  if (SHGetSpecialFolderLocation(nullptr, csidl, &lista) != S_OK || lista == nullptr)
    return ResultadoPastaEspecial::FalhaLocalizacao;
  const BOOL ok = SHGetPathFromIDListA(lista, buffer);
  CoTaskMemFree(lista);
  if (!ok) return ResultadoPastaEspecial::FalhaCaminho;
  caminho = DeCp1252(AteNulo(std::string(buffer, sizeof buffer)));
  return ResultadoPastaEspecial::Ok;
}

}  // namespace tavoran::win32
