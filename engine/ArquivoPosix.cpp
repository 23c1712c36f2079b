// POSIX file layer: pread/pwrite and open-file-description locks.
#ifndef _WIN32
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include "engine/ArquivoSO.h"

namespace tavoran::motor {

namespace {
bool TravaOfd(int fd, int comando, short tipo, std::uint64_t pos) {
  struct flock f {};
  f.l_type = tipo;
  f.l_whence = SEEK_SET;
  f.l_start = static_cast<off_t>(pos);
  f.l_len = 1;
  f.l_pid = 0;
  for (;;) {
    if (fcntl(fd, comando, &f) == 0) return true;
    if (errno != EINTR) return false;
  }
}
}  // namespace

ArquivoSO::~ArquivoSO() { Fechar(); }

ResultadoAbertura ArquivoSO::Abrir(const std::string& caminho, Criacao criacao, bool exclusivo, bool somenteLeitura) {
  Fechar();
  int flags = (somenteLeitura ? O_RDONLY : O_RDWR) | O_CLOEXEC;
  if (criacao == Criacao::Nova) flags |= O_CREAT | O_EXCL;
  if (criacao == Criacao::Substituir) flags |= O_CREAT;
  int fd = ::open(caminho.c_str(), flags, 0666);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return ResultadoAbertura::NaoExiste;
    if (errno == EEXIST) return ResultadoAbertura::JaExiste;
    if (errno == EACCES || errno == EPERM || errno == EROFS) return ResultadoAbertura::SemAcesso;
    return ResultadoAbertura::Erro;
  }
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return ResultadoAbertura::Erro;
  }
  // Every open holds the mode byte: shared for a normal open, exclusive for -4.
  if (!TravaOfd(fd, F_OFD_SETLK, exclusivo ? F_WRLCK : F_RDLCK, kBloqueioModo)) {
    // A read-only descriptor cannot take a write lock; exclusivity then needs read-write.
    ::close(fd);
    return ResultadoAbertura::EmUsoExclusivo;
  }
  fd_ = fd;
  caminho_ = caminho;
  return ResultadoAbertura::Ok;
}

void ArquivoSO::Fechar() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

bool ArquivoSO::Aberto() const { return fd_ >= 0; }

bool ArquivoSO::Ler(std::uint64_t pos, void* destino, std::size_t n, std::size_t* lidos) {
  std::size_t feito = 0;
  auto* p = static_cast<char*>(destino);
  while (feito < n) {
    ssize_t r = ::pread(fd_, p + feito, n - feito, static_cast<off_t>(pos + feito));
    if (r < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (r == 0) break;
    feito += static_cast<std::size_t>(r);
  }
  *lidos = feito;
  return true;
}

bool ArquivoSO::Gravar(std::uint64_t pos, const void* origem, std::size_t n) {
  std::size_t feito = 0;
  auto* p = static_cast<const char*>(origem);
  while (feito < n) {
    ssize_t r = ::pwrite(fd_, p + feito, n - feito, static_cast<off_t>(pos + feito));
    if (r < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    feito += static_cast<std::size_t>(r);
  }
  return true;
}

bool ArquivoSO::Tamanho(std::uint64_t* tamanho) {
  struct stat st {};
  if (fstat(fd_, &st) != 0) return false;
  *tamanho = static_cast<std::uint64_t>(st.st_size);
  return true;
}

bool ArquivoSO::Atributos(std::uint64_t* tamanho, std::uint64_t* alteracao) {
  struct stat st {};
  if (fstat(fd_, &st) != 0) return false;
  *tamanho = static_cast<std::uint64_t>(st.st_size);
  *alteracao = static_cast<std::uint64_t>(st.st_mtim.tv_sec) * 1000000000ull + static_cast<std::uint64_t>(st.st_mtim.tv_nsec);
  return true;
}

bool ArquivoSO::Truncar(std::uint64_t tamanho) { return ::ftruncate(fd_, static_cast<off_t>(tamanho)) == 0; }

bool ArquivoSO::Sincronizar() { return ::fdatasync(fd_) == 0; }

bool ArquivoSO::Bloquear(std::uint64_t pos, bool exclusivo, bool esperar) {
  return TravaOfd(fd_, esperar ? F_OFD_SETLKW : F_OFD_SETLK, exclusivo ? F_WRLCK : F_RDLCK, pos);
}

void ArquivoSO::Desbloquear(std::uint64_t pos) { TravaOfd(fd_, F_OFD_SETLK, F_UNLCK, pos); }

bool ArquivoSO::BloqueadoPorOutro(std::uint64_t pos) {
  struct flock f {};
  f.l_type = F_WRLCK;
  f.l_whence = SEEK_SET;
  f.l_start = static_cast<off_t>(pos);
  f.l_len = 1;
  if (fcntl(fd_, F_OFD_GETLK, &f) != 0) return false;
  return f.l_type != F_UNLCK;
}

bool ArquivoSO::Existe(const std::string& caminho) {
  struct stat st {};
  return ::stat(caminho.c_str(), &st) == 0;
}

bool ArquivoSO::CriarPastas(const std::string& pasta) {
  for (std::size_t fim = pasta.find('/', 1); fim != std::string::npos; fim = pasta.find('/', fim + 1))
    ::mkdir(pasta.substr(0, fim).c_str(), 0777);
  ::mkdir(pasta.c_str(), 0777);
  struct stat st {};
  return ::stat(pasta.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool ArquivoSO::Renomear(const std::string& de, const std::string& para) {
  return ::rename(de.c_str(), para.c_str()) == 0;
}

void ArquivoSO::Excluir(const std::string& caminho) { ::unlink(caminho.c_str()); }

void ArquivoSO::Pausar(unsigned microssegundos) {
  struct timespec t {};
  t.tv_sec = microssegundos / 1000000;
  t.tv_nsec = static_cast<long>(microssegundos % 1000000) * 1000;
  nanosleep(&t, nullptr);
}

}  // namespace tavoran::motor
#endif
