#pragma once
// The installation driver: the folder set, the progress total, and the passes that bring the
// workstation's components up to the state of the shared tree (libraries, ActiveX
// components, executables, the engine's components, .NET and the browser runtime).
#include <functional>
#include <memory>
#include <string>

#include "install/clsComponentesPasta.h"
#include "install/clsInstaladorActiveX.h"
#include "install/clsInstaladorExecutaveis.h"
#include "install/clsInstaladorNet.h"
#include "install/clsOperacoesComponente.h"

namespace tavoran {

class clsInstaladorComponentes {
 public:
  clsInstaladorComponentes(ContextoInstalacao& contexto, std::function<bool(const std::string&)> pararServicoResidente);

  bool ConfigurarPastas();
  bool ConfigurarBarraProgressoTotal();
  bool InstalarAtualizarComponentesPastaBiblioteca(const std::string& v_sPastaOrigem,
                                                   const std::string& v_sPastaDestino);
  bool InstalarAtualizarComponentes();
  bool InstalarAtualizarComponentesPervasive();

  clsComponentesPasta& Pasta() { return pasta_; }
  clsOperacoesComponente& Operacoes() { return operacoes_; }
  clsInstaladorActiveX& ActiveX() { return activeX_; }
  clsInstaladorExecutaveis& Executaveis() { return executaveis_; }
  clsInstaladorNet& Net() { return net_; }

 private:
  ContextoInstalacao& c_;
  clsComponentesPasta pasta_;
  clsOperacoesComponente operacoes_;
  clsInstaladorActiveX activeX_;
  clsInstaladorExecutaveis executaveis_;
  clsInstaladorNet net_;
};

}  // namespace tavoran
