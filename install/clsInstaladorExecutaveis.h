#pragma once
// The executables of the shared components folder kept current in the workstation's system
// folder, and the files of the suite's former layout removed from the main directory.
#include <string>

#include "install/clsComponentesPasta.h"
#include "install/clsOperacoesComponente.h"

namespace tavoran {

class clsInstaladorExecutaveis {
 public:
  clsInstaladorExecutaveis(ContextoInstalacao& contexto, clsComponentesPasta& pasta, clsOperacoesComponente& operacoes)
      : c_(contexto), pasta_(pasta), op_(operacoes) {}

  bool InstalarAtualizarExecutaveis(const std::string& v_sPastaOrigem, const std::string& v_sPastaDestino);
  bool InstalarAtualizarExecutavelSelecionado(const std::string& v_sOrigem, const std::string& v_sDestino);
  bool InstalarExecutavel(const std::string& v_sOrigem, const std::string& v_sDestino);
  bool Atualizarexecutavel(const std::string& v_sOrigem, const std::string& v_sDestino);
  // Walks the clean-up list; the results of single entries are not examined.
  bool ApagarExecutaveisReestruturacaoKem();
  bool ReestruturarKem(const std::string& v_sCaminhoRelativo);

 private:
  ContextoInstalacao& c_;
  clsComponentesPasta& pasta_;
  clsOperacoesComponente& op_;
};

}  // namespace tavoran
