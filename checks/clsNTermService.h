#pragma once
// Terminal-services detection: whether the current session is a remote-desktop session
// and which client computer it comes from. Every read asks Windows again.
#include <cstdint>
#include <string>

#include "platform/Ambiente.h"
#include "platform/Erro.h"

namespace tavoran {

class clsNTermService {
 public:
  explicit clsNTermService(Ambiente& ambiente) : ambiente_(ambiente) {}

  std::int32_t ErroNumero() const { return erro_.Numero(); }
  const std::string& ErroDescricao() const { return erro_.Descricao(); }

  // The client computer of the current session; empty on the console.
  std::string NomeMaquinaCliente();
  // True when the session has a client computer.
  bool UtilizandoTerminalService();

 private:
  void ConsultarSessao();

  Ambiente& ambiente_;
  EstadoErro erro_;
  std::string nomeMaquinaCliente_;
  bool utilizandoTerminalService_ = false;
};

}  // namespace tavoran
