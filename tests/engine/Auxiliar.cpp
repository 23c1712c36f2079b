#include "tests/engine/Auxiliar.h"

#include <cstdlib>

#ifdef _WIN32
#include <process.h>
#else
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <fstream>
#include <iterator>

namespace tavoran::testes {

std::vector<std::uint8_t> Bytes(const std::string& nome) {
  std::ifstream f(nome, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

void Gravar(const std::string& nome, const std::vector<std::uint8_t>& bytes) {
  std::ofstream f(nome, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

long PastaTemporaria::Pid() {
#ifdef _WIN32
  return _getpid();
#else
  return getpid();
#endif
}

#ifndef _WIN32
int Filho(const std::function<int()>& f) {
  const pid_t pid = fork();
  if (pid == 0) _exit(f());
  return pid;
}

int Esperar(int pid) {
  int st = 0;
  waitpid(pid, &st, 0);
  return WIFEXITED(st) ? WEXITSTATUS(st) : 100 + (WIFSIGNALED(st) ? WTERMSIG(st) : 0);
}

OutroProcesso::OutroProcesso(const std::function<int(int)>& f) {
  int ida[2], volta[2];
  if (pipe(ida) != 0 || pipe(volta) != 0) return;
  pid_ = Filho([&] {
    close(ida[1]);
    close(volta[0]);
    int pedido = 0;
    while (read(ida[0], &pedido, sizeof pedido) == sizeof pedido) {
      const int resposta = f(pedido);
      if (write(volta[1], &resposta, sizeof resposta) != sizeof resposta) return 1;
    }
    return 0;
  });
  close(ida[0]);
  close(volta[1]);
  ida_ = ida[1];
  volta_ = volta[0];
}

OutroProcesso::~OutroProcesso() {
  close(ida_);  // the child's read ends, and so does the child
  Esperar(pid_);
  close(volta_);
}

void OutroProcesso::Enviar(int pedido) {
  if (write(ida_, &pedido, sizeof pedido) != sizeof pedido) pedido = -1;
}

bool OutroProcesso::Respondeu() {
  pollfd p{volta_, POLLIN, 0};
  return poll(&p, 1, 0) == 1;
}

int OutroProcesso::Resposta() {
  int resposta = -1;
  if (read(volta_, &resposta, sizeof resposta) != sizeof resposta) return -1;
  return resposta;
}

bool OutroProcesso::Esperando() {
  std::ifstream f("/proc/" + std::to_string(pid_) + "/wchan");
  std::string onde;
  std::getline(f, onde);
  return onde.find("nanosleep") != std::string::npos;
}
#endif

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
