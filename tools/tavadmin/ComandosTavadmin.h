#pragma once
// tavadmin: the administrator's commands over the share's record files. Every command
// checks all its input before it writes, and a failure leaves the files as they were.
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "platform/Arquivos.h"
#include "platform/Btrieve.h"
#include "platform/Relogio.h"

namespace tavoran::tavadmin {

constexpr int kSaidaOk = 0, kSaidaFalha = 1, kSaidaUso = 2;

struct Contexto {
  IBtrieve& btrieve;
  IArquivos& arquivos;
  std::ostream& saida;
  std::ostream& erros;
  // The engine's own structural check of a closed file (its Btrieve status), when the
  // engine is linked in; verificar then runs it before walking the keys.
  std::function<int(const std::string& arquivo)> verificarEstrutura = nullptr;
  // The time the fleet page is generated at; the computer's clock when none is given.
  IRelogio* relogio = nullptr;
};

// Runs one command line (without the program name); returns the exit code.
int Executar(const std::vector<std::string>& argumentos, Contexto& contexto);

}  // namespace tavoran::tavadmin
