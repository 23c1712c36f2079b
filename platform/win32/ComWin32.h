#pragma once
// Type libraries read from the file (LoadTypeLibEx for other formats) and looked up in their
// registration key, else with QueryPathOfRegTypeLib; COM objects created by programmatic identifier.
// The automation library is loaded at its first use: the daily start never needs it.
#include <memory>

#include "platform/Com.h"
#include "platform/win32/BibliotecaDinamica.h"
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
  Falha CarregarOleAut32();

  std::shared_ptr<ImagensLidas> imagens_;
  BibliotecaDinamica oleaut32_;
};

}  // namespace tavoran::win32
