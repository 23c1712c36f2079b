#pragma once
// Process list facility.
#include <cstdint>
#include <string>
#include <vector>

namespace tavoran {

struct InfoProcesso {
  std::uint32_t id = 0;
  std::string nome;     // executable file name, e.g. "Tavoran2.exe"
  std::string caminho;  // full executable path when known
  std::uint32_t sessao = 0;
};

class IProcessos {
 public:
  virtual ~IProcessos() = default;
  virtual std::vector<InfoProcesso> Listar() = 0;
};

}  // namespace tavoran
