#pragma once
// Shell special folders: SHGetSpecialFolderLocation, then SHGetPathFromIDListA.
#include "platform/PastasEspeciais.h"

namespace tavoran::win32 {

class PastasEspeciaisWin32 : public IPastasEspeciais {
 public:
  ResultadoPastaEspecial Caminho(int csidl, std::string& caminho) override;
};

}  // namespace tavoran::win32
