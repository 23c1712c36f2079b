#pragma once
// The workstation's local time and a monotonic millisecond count.
#include "platform/Relogio.h"

namespace tavoran::win32 {

class RelogioWin32 : public IRelogio {
 public:
  DataHora Agora() override;
  long long Milissegundos() override;
  void Dormir(unsigned milissegundos) override;
};

}  // namespace tavoran::win32
