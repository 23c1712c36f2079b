#pragma once
// Whether this process runs elevated, and whether its user belongs to the Administrators
// group at all (enabled or not): a member whose process is not elevated answers true to the
// second question and false to the first.
#include "platform/Seguranca.h"

namespace tavoran {

class clsWindowsUsuarios {
 public:
  explicit clsWindowsUsuarios(ISeguranca& seguranca) : seguranca_(seguranca) {}
  bool UsuarioAdministrador() { return seguranca_.Elevado(); }
  // Names are compared, not identifiers; false, not an error, when the token cannot be read.
  bool VerificarUsuarioPertenceGrupoAdministradoresWindows();

 private:
  ISeguranca& seguranca_;
};

}  // namespace tavoran
