#pragma once
// Shell special folders: the shell's folder path, else SHGetSpecialFolderLocation, then
// SHGetPathFromIDListA. The folders do not move while the program runs, so each answer is
// kept for the next question.
#include <map>
#include <utility>

#include "platform/PastasEspeciais.h"

namespace tavoran::win32 {

class PastasEspeciaisWin32 : public IPastasEspeciais {
 public:
  ResultadoPastaEspecial Caminho(int csidl, std::string& caminho) override;

 private:
  ResultadoPastaEspecial Consultar(int csidl, std::string& caminho);
  std::map<int, std::pair<ResultadoPastaEspecial, std::string>> respostas_;
};

}  // namespace tavoran::win32
