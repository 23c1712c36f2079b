#pragma once
// Administrator rights for the update: an instance that is not elevated starts itself again
// through the suite's elevation launcher with the argument "A" and stops, letting the
// elevated instance update; an instance started with "A" that still is not elevated gives up
// with a message and the help article.
#include "install/ContextoInstalacao.h"
#include "install/clsInstaladorNet.h"
#include "install/clsPreRequisitos.h"

namespace tavoran {

class clsUsuarioAdministrador {
 public:
  clsUsuarioAdministrador(ContextoInstalacao& contexto, clsInstaladorNet& net, clsPreRequisitos& preRequisitos)
      : c_(contexto), net_(net), preRequisitos_(preRequisitos) {}

  // True: this instance goes on with the update. False: it stops, the user told or the
  // elevated instance started.
  bool VerificarUsuarioAdmin(bool v_bAdminHerdado);
  void ExibirErroUsuarioNaoAdminstrador();

 private:
  void ExecutarComoAdministrador();
  void ExibirComAjuda(const std::string& v_sTexto);

  ContextoInstalacao& c_;
  clsInstaladorNet& net_;
  clsPreRequisitos& preRequisitos_;
};

}  // namespace tavoran
