#include "platform/win32/SessaoTerminalWin32.h"

#include <windows.h>
#include <wtsapi32.h>

#include "platform/Texto.h"
#include "platform/win32/BibliotecaDinamica.h"

namespace tavoran {

namespace {

// The terminal-services library is loaded at the first question: a start that asks none
// (the daily start of a workstation) does not pay for it.
class SessaoTerminalWin32 : public ISessaoTerminal {
 public:
  bool NomeClienteSessao(std::string& nome) override {
    if (!wtsapi_.Carregada() && wtsapi_.CarregarSeAusente("wtsapi32.dll")) {
      consultar_ = wtsapi_.Funcao<decltype(&::WTSQuerySessionInformationA)>("WTSQuerySessionInformationA");
      liberar_ = wtsapi_.Funcao<decltype(&::WTSFreeMemory)>("WTSFreeMemory");
    }
    if (!consultar_ || !liberar_) return false;
    LPSTR buffer = nullptr;
    DWORD bytes = 0;
    if (!consultar_(WTS_CURRENT_SERVER_HANDLE, WTS_CURRENT_SESSION, WTSClientName, &buffer, &bytes)) return false;
    std::string texto;
    if (buffer) {
      texto.assign(buffer, static_cast<std::size_t>(lstrlenA(buffer)));
      liberar_(buffer);
    }
    nome = DeCp1252(texto);
    return true;
  }

 private:
  win32::BibliotecaDinamica wtsapi_;
  decltype(&::WTSQuerySessionInformationA) consultar_ = nullptr;
  decltype(&::WTSFreeMemory) liberar_ = nullptr;
};

}  // namespace

std::unique_ptr<ISessaoTerminal> CriarSessaoTerminalWin32() { return std::make_unique<SessaoTerminalWin32>(); }

}  // namespace tavoran
