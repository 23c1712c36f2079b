#pragma once
// Drives facility: network drive mapping.
#include <cstdint>
#include <string>

namespace tavoran {

class IUnidades {
 public:
  virtual ~IUnidades() = default;
  // WNetAddConnectionA(remoto, no password, local): the Windows result code.
  virtual std::uint32_t Mapear(const std::string& remoto, const std::string& local) = 0;
};

}  // namespace tavoran
