#pragma once
// Elevation through IsUserAnAdmin, and the account names of this process's token groups.
#include "platform/Seguranca.h"

namespace tavoran::win32 {

class SegurancaWin32 : public ISeguranca {
 public:
  bool Elevado() override;
  bool GruposDoToken(std::vector<std::string>& nomes) override;
  bool NomeGrupoAdministradores(std::string& nome) override;
};

}  // namespace tavoran::win32
