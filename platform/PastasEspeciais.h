#pragma once
// Shell special folders (SHGetSpecialFolderLocation + SHGetPathFromIDListA).
#include <string>

namespace tavoran {

enum class ResultadoPastaEspecial { Ok, FalhaLocalizacao, FalhaCaminho };

class IPastasEspeciais {
 public:
  virtual ~IPastasEspeciais() = default;
  // The path of a CSIDL, cut at the first NUL.
  virtual ResultadoPastaEspecial Caminho(int csidl, std::string& caminho) = 0;
};

}  // namespace tavoran
