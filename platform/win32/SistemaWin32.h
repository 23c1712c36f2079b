#pragma once
// The running program and the computer: names, operating system, command line, and the
// previous-instance test (a named mutex in the session's Local\ namespace, held while
// this object lives).
#include <optional>
#include <string>
#include <utility>

#include "platform/Sistema.h"
#include "platform/win32/Recursos.h"

namespace tavoran::win32 {

// GetLoginWindows of WTSClient.dll, as this program calls it: a __stdcall function that
// writes the logged-on user's name, NUL-terminated and in the ANSI code page, into a
// buffer of the given size, and returns non-zero on success.
using FuncaoGetLoginWindows = int(__stdcall*)(char* v_sLogin, int v_lTamanho);

class SistemaWin32 : public ISistema {
 public:
  bool NomeComputador(std::string& buffer) override;
  bool NomeUsuario(std::string& buffer, std::uint32_t& tamanho) override;
  std::string LoginWindows() override;
  bool SistemaOperacional(std::string& nome, std::string& versao) override;
  std::string LinhaComando() override;
  std::string PastaPrograma() override;
  bool OutraInstanciaNaSessao() override;

  // The text after the program name of a command line: the name (quoted or not) and the
  // one blank that separates it are dropped, further blanks are kept.
  static std::string ArgumentosDe(const std::string& linha);

 private:
  // The computer's name does not change while the program runs: asked once.
  std::optional<std::pair<bool, std::string>> nomeComputador_;
  Handle mutexInstancia_;
  bool instanciaTestada_ = false, outraInstancia_ = false;
};

}  // namespace tavoran::win32
