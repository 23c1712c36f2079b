#pragma once
// Process list facility.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Erro.h"

namespace tavoran {

struct InfoProcesso {
  std::uint32_t id = 0;
  std::string nome;     // executable file name, e.g. "Tavoran2.exe"
  std::string caminho;  // full executable path when known
  std::uint32_t sessao = 0;
};

class IProcessos {
 public:
  virtual ~IProcessos() = default;
  virtual std::vector<InfoProcesso> Listar() = 0;
  // Ends a process at once (TerminateProcess).
  virtual Falha Terminar(std::uint32_t id) = 0;
  // Terminal-services session of this program's own process; false when it cannot be read.
  virtual bool SessaoAtual(std::uint32_t& sessao) = 0;
};

}  // namespace tavoran
