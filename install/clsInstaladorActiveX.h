#pragma once
// ActiveX components (libraries that register themselves, and the chart control's files)
// as the progress window installs them: copied into the workstation, older copies replaced,
// unregistered and registered again, present copies that lost their registration
// registered anew. Also the type-library browser step and the chart control check.
#include <string>

#include "install/clsComponentesPasta.h"
#include "install/clsOperacoesComponente.h"

namespace tavoran {

class clsInstaladorActiveX {
 public:
  clsInstaladorActiveX(ContextoInstalacao& contexto, clsComponentesPasta& pasta, clsOperacoesComponente& operacoes)
      : c_(contexto), pasta_(pasta), op_(operacoes) {}

  bool InstalarAtualizarComponentesPastaActiveX(const std::string& v_sPastaOrigem, const std::string& v_sPastaDestino);
  bool InstalarAtualizarComponenteActiveX(const std::string& v_sOrigem, const std::string& v_sDestino);
  bool InstalarComponenteActiveX(const std::string& v_sOrigem, const std::string& v_sDestino);
  bool AtualizarComponenteActiveX(const std::string& v_sOrigem, const std::string& v_sDestino);
  bool RegistrarComponenteActiveX(const std::string& v_sDestino);
  bool VerificarPrecisaRegistrar(const std::string& v_sArquivo, bool& v_bPrecisaRegistrar);
  bool RegistrarComponente(const std::string& v_sTexto, const std::string& v_sArquivo);
  bool DesregistrarComponente(const std::string& v_sTexto, const std::string& v_sArquivo);
  bool InstalarTypeLibInformation();
  bool InstalacaoTeeChart();

 private:
  bool Registrar(const std::string& v_sTexto, const std::string& v_sArquivo, bool v_bRegistrar);

  ContextoInstalacao& c_;
  clsComponentesPasta& pasta_;
  clsOperacoesComponente& op_;
};

}  // namespace tavoran
