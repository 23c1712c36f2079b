#pragma once
// Security facility: elevation and the groups of this process's token.
#include <string>
#include <vector>

namespace tavoran {

class ISeguranca {
 public:
  virtual ~ISeguranca() = default;
  // IsUserAnAdmin: the process runs with the Administrators group enabled.
  virtual bool Elevado() = 0;
  // Account names of the token's groups, enabled or not, in token order; a group whose name
  // cannot be looked up is left out. False when the token cannot be read.
  virtual bool GruposDoToken(std::vector<std::string>& nomes) = 0;
  // Account name of the local Administrators group (S-1-5-32-544); false when unknown.
  virtual bool NomeGrupoAdministradores(std::string& nome) = 0;
};

}  // namespace tavoran
