#pragma once
// Network drive mapping through WNetAddConnectionA.
#include "platform/Unidades.h"

namespace tavoran::win32 {

class UnidadesWin32 : public IUnidades {
 public:
  Falha Mapear(const std::string& remoto, const std::string& local) override;
};

}  // namespace tavoran::win32
