#include "install/clsWindowsUsuarios.h"

#include <algorithm>
#include <string>
#include <vector>

namespace tavoran {

bool clsWindowsUsuarios::VerificarUsuarioPertenceGrupoAdministradoresWindows() {
  try {
    std::string administradores;
    std::vector<std::string> grupos;
    if (!seguranca_.NomeGrupoAdministradores(administradores) || !seguranca_.GruposDoToken(grupos)) return false;
    return std::find(grupos.begin(), grupos.end(), administradores) != grupos.end();
  } catch (...) {
    return false;
  }
}

}  // namespace tavoran
