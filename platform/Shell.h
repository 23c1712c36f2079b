#pragma once
// Shell facility: open a document with its program, start a command line.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/Erro.h"

namespace tavoran {

using IdJanela = std::uintptr_t;  // a window handle, 0 for none

// Show states of the started program's window (the values of SW_* / vbAppWinStyle).
enum class EstiloJanela : int { Oculta = 0, NormalComFoco = 1, MinimizadaComFoco = 2, MaximizadaComFoco = 3 };

// A process this program started, kept so that it can be waited for; closing it lets the
// process run on.
class IProcessoIniciado {
 public:
  virtual ~IProcessoIniciado() = default;
  virtual std::uint32_t Id() = 0;
  // Whether the process has ended, waiting for that at most esperaMs.
  virtual bool Terminou(unsigned esperaMs) = 0;
};

class IShell {
 public:
  virtual ~IShell() = default;
  // ShellExecuteA(dono, "open", documento, "", "", 1).
  virtual Falha AbrirDocumento(IdJanela dono, const std::string& documento) = 0;
  // ShellExecuteA(dono, "open", arquivo, parametros, "", estilo); the Windows code 5 when the
  // user refused an elevation prompt.
  virtual Falha Executar(IdJanela dono, const std::string& arquivo, const std::string& parametros,
                         EstiloJanela estilo) = 0;
  // Starts a command line without waiting; the process id on success.
  virtual Falha IniciarPrograma(const std::string& linhaComando, EstiloJanela estilo, std::uint32_t& idProcesso) = 0;
  // Starts a command line and keeps its process.
  virtual Falha IniciarProcesso(const std::string& linhaComando, EstiloJanela estilo,
                                std::unique_ptr<IProcessoIniciado>& processo) = 0;
  // Opens a file through the shell ("open", with parameters) and keeps the process started;
  // fails when the shell started none (the file went to a program already running).
  virtual Falha ExecutarProcesso(const std::string& arquivo, const std::string& parametros, EstiloJanela estilo,
                                 std::unique_ptr<IProcessoIniciado>& processo) = 0;
};

}  // namespace tavoran
