#pragma once
// Shell special folders: the shell's folder path, else SHGetSpecialFolderLocation, then
// SHGetPathFromIDListA. The folders do not move while the program runs, so each answer is
// kept for the next question. The start walks CSIDL 0 on upwards and the shell takes about a
// millisecond for each, so by default a second thread reads the shell's folder table ahead,
// up to the walk's end, while the calling thread starts its window.
#include <array>
#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>

#include "platform/PastasEspeciais.h"

namespace tavoran::win32 {

class PastasEspeciaisWin32 : public IPastasEspeciais {
 public:
  explicit PastasEspeciaisWin32(bool lerAdiante = true);
  PastasEspeciaisWin32(const PastasEspeciaisWin32&) = delete;
  PastasEspeciaisWin32& operator=(const PastasEspeciaisWin32&) = delete;
  ~PastasEspeciaisWin32() override;

  ResultadoPastaEspecial Caminho(int csidl, std::string& caminho) override;

 private:
  static constexpr int kLidasAdiante = 101;  // CSIDL 0 to 100 at most, the range the start walks

  void LerAdiante();
  std::optional<std::string> CaminhoDaTabela(int csidl);
  ResultadoPastaEspecial Consultar(int csidl, std::string& caminho);

  std::map<int, std::pair<ResultadoPastaEspecial, std::string>> respostas_;
  // Written by the reader only, each entry before lidas_ counts it.
  std::array<std::optional<std::string>, kLidasAdiante> tabela_;
  std::mutex mutex_;
  std::condition_variable lida_;
  int lidas_ = 0;
  bool lendo_ = false;
  std::thread leitor_;
};

}  // namespace tavoran::win32
