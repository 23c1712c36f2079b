#pragma once
// The running program and the computer: names, operating system, command line.
#include <cstdint>
#include <string>

namespace tavoran {

class ISistema {
 public:
  virtual ~ISistema() = default;
  // GetComputerNameA with a 256-character buffer of blanks: success and the buffer's text.
  virtual bool NomeComputador(std::string& buffer) = 0;
  // GetUserNameA with a 200-character buffer: success, the buffer's text and the size it returns
  // (counted in the UTF-8 bytes of the name, its NUL included).
  virtual bool NomeUsuario(std::string& buffer, std::uint32_t& tamanho) = 0;
  // GetLoginWindows of WTSClient.dll, loaded at run time; empty when the library is absent.
  virtual std::string LoginWindows() = 0;
  // Caption and Version of the operating system; false when they cannot be read.
  virtual bool SistemaOperacional(std::string& nome, std::string& versao) = 0;
  // The argument text after the program name.
  virtual std::string LinhaComando() = 0;
  // Folder of the running program file, without a trailing backslash.
  virtual std::string PastaPrograma() = 0;
  // Another copy of this program runs in the same session.
  virtual bool OutraInstanciaNaSessao() = 0;
};

}  // namespace tavoran
