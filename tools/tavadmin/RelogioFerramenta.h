#pragma once
// The computer's local time for tavadmin, from the standard library on both builds.
#include "platform/Relogio.h"

namespace tavoran::tavadmin {

class RelogioFerramenta : public IRelogio {
 public:
  DataHora Agora() override;
  long long Milissegundos() override;
  void Dormir(unsigned milissegundos) override;
};

}  // namespace tavoran::tavadmin
