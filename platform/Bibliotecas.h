#pragma once
// Libraries loaded at run time: their exports, and a self-registration entry point run on
// a worker thread that the caller waits for only so long.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/Erro.h"

namespace tavoran {

// How a worker thread that ran an entry point ended.
enum class FimExecucao {
  Retornou,    // the entry point returned
  Abandonada,  // still running when the wait ran out; left to run on its own
  Falhou,      // the entry point faulted (an access violation, say); its thread was ended
};

class IBiblioteca {
 public:
  // Frees the library, unless an abandoned worker may still run in it.
  virtual ~IBiblioteca() = default;
  virtual bool TemFuncao(const std::string& nome) = 0;
  // Runs the export (no argument) on a new worker thread and waits at most limiteMs for it.
  // A failure means that the thread could not be created.
  virtual Falha ExecutarEmLinha(const std::string& nome, std::uint32_t limiteMs, FimExecucao& fim) = 0;
};

class IBibliotecas {
 public:
  virtual ~IBibliotecas() = default;
  // LoadLibraryA; a file that is not a library of this program's kind fails.
  virtual Falha Carregar(const std::string& caminho, std::unique_ptr<IBiblioteca>& biblioteca) = 0;
  // Whether the file's export table names the function, read without loading the library; a
  // file that is not a complete library of this program's architecture fails as Carregar does.
  virtual Falha Exporta(const std::string& caminho, const std::string& funcao, bool& exporta) = 0;
};

}  // namespace tavoran
