#pragma once
// Type libraries read with LoadTypeLibEx and looked up with QueryPathOfRegTypeLib, and COM
// objects created by programmatic identifier.
#include <memory>

#include "platform/Com.h"
#include "platform/win32/ImagensLidas.h"

namespace tavoran::win32 {

class ComWin32 : public ICom {
 public:
  explicit ComWin32(std::shared_ptr<ImagensLidas> imagens = std::make_shared<ImagensLidas>())
      : imagens_(std::move(imagens)) {}
  Falha LerTypeLib(const std::string& arquivo, IdTypeLib& id) override;
  Falha TypeLibRegistrada(const IdTypeLib& id, bool& registrada) override;
  Falha CriarObjeto(const std::string& progId) override;

 private:
  std::shared_ptr<ImagensLidas> imagens_;
};

}  // namespace tavoran::win32
