#pragma once
// The suite's resident programs and services, stopped before an update and started again
// after it; the SQL Server instance named in the suite's configuration; and the suite's
// processes, ended before an update unless the application manager runs more than once or
// in another session. Processes are read from the platform's process list and ended through
// it; services through net, sc and taskkill, started hidden.
#include <array>
#include <functional>
#include <string>

#include "install/ContextoInstalacao.h"

namespace tavoran {

class clsControleProcessos {
 public:
  explicit clsControleProcessos(ContextoInstalacao& contexto) : c_(contexto) {}

  // Stops the resident programs that run and remembers which ran.
  bool FinalizarServicos();
  // Starts again those of them that ran and are services, then the SQL Server instance.
  bool InicializarProcessos();
  // Ends the suite's processes, or refuses (the user told) when the manager runs twice or
  // in another session.
  bool FinalizarProcessos();
  bool RetornarInstanciaSql(std::string& v_sInstancia);
  bool IniciarServicoSqlServer();
  // Stops one resident program by escalating means, asking whether to try again when none
  // worked; false only when the process list cannot be read.
  bool PararServicoResidente(const std::string& v_sPrograma);
  bool IniciarServicoResidente(const std::string& v_sPrograma);
  bool IniciarServicoIntegracao();
  // Ends the first process whose name contains the text.
  bool MatarProcessoUsandoAPI(const std::string& v_sNome);
  // Finished when no process name contains the text.
  bool VerificarProcessoFinalizado(const std::string& v_sNome, bool& v_bFinalizado);

 private:
  bool PararResidentes();
  bool Sondar(const std::function<bool(bool&)>& verificar, bool& v_bAtingido);
  bool AguardarFinalizacao(const std::string& v_sNome, bool& v_bFinalizado);
  bool AguardarInicio(const std::string& v_sNome, bool& v_bIniciado);
  bool EmExecucao(const std::string& v_sNome, std::string& v_sEncontrado);
  bool Perguntar(const std::string& v_sPergunta);
  bool VersaoPermiteFinalizar();
  void FinalizarProcessosTavoran();
  bool RecusarAtualizacao();

  ContextoInstalacao& c_;
  std::array<bool, 4> emExecucao_{};  // the resident programs that ran before the update
};

}  // namespace tavoran
