#pragma once
// Starts a program and waits until it has ended, letting the window's events run every
// 100 ms meanwhile.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/Ambiente.h"
#include "platform/Erro.h"

namespace tavoran {

class clsNShellExecWait {
 public:
  explicit clsNShellExecWait(Ambiente& ambiente) : ambiente_(ambiente) {}

  std::int32_t ErroNumero() const { return erro_.Numero(); }
  const std::string& ErroDescricao() const { return erro_.Descricao(); }

  // Opens a file through the shell ("open", with parameters) and waits for its process.
  bool ShellExecuteExcutarEAguardarTermino(const std::string& v_sArquivo, const std::string& v_sParametros,
                                           EstiloJanela v_enMostrar);
  // Starts a command line and waits for its process.
  bool ShellExecutarEAguardarTermino(const std::string& v_sLinhaComando, EstiloJanela v_enEstilo);

 private:
  void AguardarTermino(IProcessoIniciado& processo);

  Ambiente& ambiente_;
  EstadoErro erro_;
};

}  // namespace tavoran
