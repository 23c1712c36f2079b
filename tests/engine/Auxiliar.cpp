#include "tests/engine/Auxiliar.h"

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

}  // namespace tavoran::testes
