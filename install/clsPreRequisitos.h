#pragma once
// Other vendors' software the suite needs on every workstation (SQL Server Native Client,
// the Visual C++ runtimes, the .NET Framework 3.5, the suite's virtual printer), installed
// silently from the shared tree; and the install mode of a Windows Server with terminal
// sessions, entered before an update and left when the window closes.
#include <string>

#include "install/ContextoInstalacao.h"
#include "install/clsControleProcessos.h"
#include "install/clsInstaladorNet.h"
#include "install/clsNShellExecWait.h"

namespace tavoran {

class clsPreRequisitos {
 public:
  clsPreRequisitos(ContextoInstalacao& contexto, clsControleProcessos& processos, clsInstaladorNet& net)
      : c_(contexto), processos_(processos), net_(net), shellWait_(contexto.ambiente) {}

  bool InstalarSqlNativeClient();
  bool InstalarCPlusPlusRedistributables();
  // Starts the framework's installer without waiting; true only when the framework is then
  // installed.
  bool InstalarNetFrameWork35();
  // Installs the printer unless it is registered, and waits a bounded time for its installer.
  bool InstalarImpressoraVirtual();
  bool VerificarImpressoraJaInstalada(bool& v_bInstalada);
  // Puts a Windows Server reached through a terminal session into install mode.
  bool ExecutarWindowsServerShellChangeUserInstall(bool v_bSessaoTerminal);
  // Back to execute mode, only when install mode was entered in this run.
  bool ExecutarWindowsServerShellChangeUserExecute();

 private:
  std::string Instalador(const std::string& v_sCaminhoRelativo);
  bool Windows64();
  bool AguardarInstaladorImpressora(const std::string& v_sInstalador);

  ContextoInstalacao& c_;
  clsControleProcessos& processos_;
  clsInstaladorNet& net_;
  clsNShellExecWait shellWait_;
  bool modoInstalacao_ = false;  // "change user /install" was issued
};

}  // namespace tavoran
