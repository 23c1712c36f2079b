#pragma once
// The registry through RegOpenKeyA / RegCreateKeyA / RegQueryValueExA / RegSetValueExA.
// The program is 32-bit, so these calls see the 32-bit view of HKEY_LOCAL_MACHINE.
#include "platform/Registro.h"

namespace tavoran::win32 {

class RegistroWin32 : public IRegistro {
 public:
  Falha Abrir(RaizRegistro raiz, const std::string& caminho, std::unique_ptr<IChaveRegistro>& chave) override;
  Falha Criar(RaizRegistro raiz, const std::string& caminho, std::unique_ptr<IChaveRegistro>& chave) override;
};

}  // namespace tavoran::win32
