#pragma once
// COM facilities: the type library a file carries, whether it is registered, and creating
// an object by its programmatic identifier.
#include <cstdint>
#include <string>

#include "platform/Erro.h"

namespace tavoran {

// What identifies a registered type library.
struct IdTypeLib {
  std::string guid;  // "{XXXXXXXX-...}"
  std::uint16_t versaoMaior = 0;
  std::uint16_t versaoMenor = 0;
  std::uint32_t lcid = 0;
};

class ICom {
 public:
  virtual ~ICom() = default;
  // Reads the type library of a file without registering it.
  virtual Falha LerTypeLib(const std::string& arquivo, IdTypeLib& id) = 0;
  // Whether the registry knows the type library (its path for this version and locale).
  virtual Falha TypeLibRegistrada(const IdTypeLib& id, bool& registrada) = 0;
  // Creates an object by programmatic identifier and releases it at once.
  virtual Falha CriarObjeto(const std::string& progId) = 0;
};

}  // namespace tavoran
