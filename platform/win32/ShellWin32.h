#pragma once
// Opening documents and programs through the shell, and starting command lines with
// CreateProcessA, keeping the process when it is to be waited for.
#include "platform/Shell.h"

namespace tavoran::win32 {

class ShellWin32 : public IShell {
 public:
  Falha AbrirDocumento(IdJanela dono, const std::string& documento) override;
  Falha Executar(IdJanela dono, const std::string& arquivo, const std::string& parametros,
                 EstiloJanela estilo) override;
  Falha IniciarPrograma(const std::string& linhaComando, EstiloJanela estilo, std::uint32_t& idProcesso) override;
  Falha IniciarProcesso(const std::string& linhaComando, EstiloJanela estilo,
                        std::unique_ptr<IProcessoIniciado>& processo) override;
  Falha ExecutarProcesso(const std::string& arquivo, const std::string& parametros, EstiloJanela estilo,
                         std::unique_ptr<IProcessoIniciado>& processo) override;
};

}  // namespace tavoran::win32
