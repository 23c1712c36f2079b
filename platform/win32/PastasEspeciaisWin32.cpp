#include "platform/win32/PastasEspeciaisWin32.h"

#include <windows.h>
#include <shlobj.h>

#include "platform/Texto.h"

namespace tavoran::win32 {
namespace {

// A folder of the file system answers straight from the shell's folder table; going through
// an item list parses the path back through the shell's namespace, many times the cost.
std::optional<std::string> CaminhoDoShell(int csidl) {
  char buffer[MAX_PATH + 1] = {};
  if (SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buffer) != S_OK || buffer[0] == '\0')
    return std::nullopt;
  return DeCp1252(AteNulo(std::string(buffer, sizeof buffer)));
}

// The start's walk stops at the 32-bit system folder of a 64-bit Windows, and so does the
// reader: a folder past it is asked for when it is needed.
bool NomeiaSysWow64(const std::string& caminho) { return Maiusculas(caminho).find("SYSWOW64") != std::string::npos; }

}  // namespace

PastasEspeciaisWin32::PastasEspeciaisWin32(bool lerAdiante) {
  if (!lerAdiante) return;
  lendo_ = true;
  try {
    leitor_ = std::thread([this] { LerAdiante(); });
  } catch (...) {
    lendo_ = false;  // no second thread: every folder is asked for when it is needed
  }
}

PastasEspeciaisWin32::~PastasEspeciaisWin32() {
  if (leitor_.joinable()) leitor_.join();
}

void PastasEspeciaisWin32::LerAdiante() {
  for (int csidl = 0; csidl < kLidasAdiante; ++csidl) {
    std::optional<std::string> caminho;
    try {
      caminho = CaminhoDoShell(csidl);
    } catch (...) {
      // Out of memory for one path: the calling thread asks the shell for it again.
      std::lock_guard trava(mutex_);
      lendo_ = false;
      lida_.notify_all();
      return;
    }
    const bool ultima = caminho && NomeiaSysWow64(*caminho);
    std::lock_guard trava(mutex_);
    tabela_[static_cast<std::size_t>(csidl)] = std::move(caminho);
    ++lidas_;
    if (ultima) lendo_ = false;
    lida_.notify_all();
    if (ultima) return;
  }
}

// The shell's folder path, from the read-ahead once it has come that far.
std::optional<std::string> PastasEspeciaisWin32::CaminhoDaTabela(int csidl) {
  if (csidl >= 0 && csidl < kLidasAdiante) {
    std::unique_lock trava(mutex_);
    lida_.wait(trava, [&] { return lidas_ > csidl || !lendo_; });
    if (lidas_ > csidl) return tabela_[static_cast<std::size_t>(csidl)];
  }
  return CaminhoDoShell(csidl);
}

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
  if (std::optional<std::string> doShell = CaminhoDaTabela(csidl)) {
    caminho = std::move(*doShell);
    return ResultadoPastaEspecial::Ok;
  }
  // Virtual folders and absent ones: the item list tells which of the two steps fails.
  LPITEMIDLIST lista = nullptr;
  if (SHGetSpecialFolderLocation(nullptr, csidl, &lista) != S_OK || lista == nullptr)
    return ResultadoPastaEspecial::FalhaLocalizacao;
  char buffer[MAX_PATH + 1] = {};
  const BOOL ok = SHGetPathFromIDListA(lista, buffer);
  CoTaskMemFree(lista);
  if (!ok) return ResultadoPastaEspecial::FalhaCaminho;
  caminho = DeCp1252(AteNulo(std::string(buffer, sizeof buffer)));
  return ResultadoPastaEspecial::Ok;
}

}  // namespace tavoran::win32
