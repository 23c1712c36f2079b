#pragma once
// The process list from a Toolhelp snapshot, with each executable's path and session.
#include "platform/Processos.h"

namespace tavoran::win32 {

class ProcessosWin32 : public IProcessos {
 public:
  std::vector<InfoProcesso> Listar() override;
  Falha Terminar(std::uint32_t id) override;
  bool SessaoAtual(std::uint32_t& sessao) override;
};

}  // namespace tavoran::win32
