#pragma once
// Network drive mapping through WNetAddConnectionA, from the network-provider library that
// is loaded at the first mapping: a start that finds its drive mapped never loads it.
#include "platform/Unidades.h"
#include "platform/win32/BibliotecaDinamica.h"

namespace tavoran::win32 {

class UnidadesWin32 : public IUnidades {
 public:
  Falha Mapear(const std::string& remoto, const std::string& local) override;

 private:
  BibliotecaDinamica mpr_;
};

}  // namespace tavoran::win32
