#include "tests/engine/Auxiliar.h"

#include <cstdlib>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace tavoran::testes {

long PastaTemporaria::Pid() {
#ifdef _WIN32
  return _getpid();
#else
  return getpid();
#endif
}

AmbienteTemporario::AmbienteTemporario(const char* nome, const char* valor) : nome_(nome) {
  const char* antes = std::getenv(nome);
  havia_ = antes != nullptr;
  if (havia_) antes_ = antes;
  Definir(nome, valor);
}

AmbienteTemporario::~AmbienteTemporario() { Definir(nome_.c_str(), havia_ ? antes_.c_str() : nullptr); }

void AmbienteTemporario::Definir(const char* nome, const char* valor) {
#ifdef _WIN32
  _putenv_s(nome, valor ? valor : "");
#else
  if (valor) setenv(nome, valor, 1);
  else unsetenv(nome);
#endif
}

}  // namespace tavoran::testes
