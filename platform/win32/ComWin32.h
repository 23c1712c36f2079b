#pragma once
// Type libraries read with LoadTypeLibEx and looked up with QueryPathOfRegTypeLib, and COM
// objects created by programmatic identifier.
#include "platform/Com.h"

namespace tavoran::win32 {

class ComWin32 : public ICom {
 public:
  Falha LerTypeLib(const std::string& arquivo, IdTypeLib& id) override;
  Falha TypeLibRegistrada(const IdTypeLib& id, bool& registrada) override;
  Falha CriarObjeto(const std::string& progId) override;
};

}  // namespace tavoran::win32
