#pragma once
// Shell facility: open a document with its program, start a command line.
#include <cstdint>
#include <string>

#include "platform/Erro.h"

namespace tavoran {

using IdJanela = std::uintptr_t;  // a window handle, 0 for none

// Show states of the started program's window (the values of SW_* / vbAppWinStyle).
enum class EstiloJanela : int { Oculta = 0, NormalComFoco = 1, MinimizadaComFoco = 2, MaximizadaComFoco = 3 };

class IShell {
 public:
  virtual ~IShell() = default;
  // ShellExecuteA(dono, "open", documento, "", "", 1); returns its result (> 32 is success).
  virtual std::intptr_t AbrirDocumento(IdJanela dono, const std::string& documento) = 0;
  // Starts a command line without waiting; the process id on success.
  virtual Falha IniciarPrograma(const std::string& linhaComando, EstiloJanela estilo, std::uint32_t& idProcesso) = 0;
};

}  // namespace tavoran
