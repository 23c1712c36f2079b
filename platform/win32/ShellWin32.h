#pragma once
// Opening documents with ShellExecuteA and starting command lines with CreateProcessA.
#include "platform/Shell.h"

namespace tavoran::win32 {

class ShellWin32 : public IShell {
 public:
  std::intptr_t AbrirDocumento(IdJanela dono, const std::string& documento) override;
  Falha IniciarPrograma(const std::string& linhaComando, EstiloJanela estilo, std::uint32_t& idProcesso) override;
};

}  // namespace tavoran::win32
