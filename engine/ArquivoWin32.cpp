// Windows file layer: share modes and the mode byte for exclusive opens, LockFileEx for
// byte-range locks.
// The only engine file that includes <windows.h>.
#ifdef _WIN32
#include <windows.h>

#include "engine/ArquivoSO.h"

namespace tavoran::motor {

namespace {
HANDLE Handle(void* h) { return static_cast<HANDLE>(h); }

OVERLAPPED Posicao(std::uint64_t pos) {
  OVERLAPPED o{};
  o.Offset = static_cast<DWORD>(pos & 0xFFFFFFFFu);
  o.OffsetHigh = static_cast<DWORD>(pos >> 32);
  return o;
}
}  // namespace

ArquivoSO::~ArquivoSO() { Fechar(); }

ResultadoAbertura ArquivoSO::Abrir(const std::string& caminho, Criacao criacao, bool exclusivo, bool somenteLeitura) {
  Fechar();
  DWORD acesso = somenteLeitura ? GENERIC_READ : (GENERIC_READ | GENERIC_WRITE);
  DWORD compartilhamento = exclusivo ? 0 : (FILE_SHARE_READ | FILE_SHARE_WRITE);
  DWORD disposicao = OPEN_EXISTING;
  if (criacao == Criacao::Nova) disposicao = CREATE_NEW;
  if (criacao == Criacao::Substituir) disposicao = OPEN_ALWAYS;
  HANDLE h = CreateFileA(caminho.c_str(), acesso, compartilhamento, nullptr, disposicao,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    switch (GetLastError()) {
      case ERROR_FILE_NOT_FOUND:
      case ERROR_PATH_NOT_FOUND:
      case ERROR_INVALID_NAME:
        return ResultadoAbertura::NaoExiste;
      case ERROR_FILE_EXISTS:
      case ERROR_ALREADY_EXISTS:
        return ResultadoAbertura::JaExiste;
      case ERROR_SHARING_VIOLATION:
      case ERROR_LOCK_VIOLATION:
        return ResultadoAbertura::EmUsoExclusivo;
      case ERROR_ACCESS_DENIED:
        return ResultadoAbertura::SemAcesso;
      default:
        return ResultadoAbertura::Erro;
    }
  }
  // Every open also holds the mode byte, shared or exclusive for -4, as on POSIX: share
  // modes are not enforced between every pair of clients (two Wine servers on one share),
  // byte-range locks are.
  OVERLAPPED o = Posicao(kBloqueioModo);
  const DWORD trava = (exclusivo ? LOCKFILE_EXCLUSIVE_LOCK : 0) | LOCKFILE_FAIL_IMMEDIATELY;
  if (!LockFileEx(h, trava, 0, 1, 0, &o)) {
    CloseHandle(h);
    return ResultadoAbertura::EmUsoExclusivo;
  }
  h_ = h;
  caminho_ = caminho;
  return ResultadoAbertura::Ok;
}

void ArquivoSO::Fechar() {
  if (h_ != nullptr) CloseHandle(Handle(h_));
  h_ = nullptr;
}

bool ArquivoSO::Aberto() const { return h_ != nullptr; }

bool ArquivoSO::Ler(std::uint64_t pos, void* destino, std::size_t n, std::size_t* lidos) {
  std::size_t feito = 0;
  auto* p = static_cast<char*>(destino);
  while (feito < n) {
    OVERLAPPED o = Posicao(pos + feito);
    DWORD r = 0;
    if (!ReadFile(Handle(h_), p + feito, static_cast<DWORD>(n - feito), &r, &o)) {
      if (GetLastError() == ERROR_HANDLE_EOF) break;
      return false;
    }
    if (r == 0) break;
    feito += r;
  }
  *lidos = feito;
  return true;
}

bool ArquivoSO::Gravar(std::uint64_t pos, const void* origem, std::size_t n) {
  std::size_t feito = 0;
  auto* p = static_cast<const char*>(origem);
  while (feito < n) {
    OVERLAPPED o = Posicao(pos + feito);
    DWORD w = 0;
    if (!WriteFile(Handle(h_), p + feito, static_cast<DWORD>(n - feito), &w, &o) || w == 0) return false;
    feito += w;
  }
  return true;
}

bool ArquivoSO::Tamanho(std::uint64_t* tamanho) {
  LARGE_INTEGER t;
  if (!GetFileSizeEx(Handle(h_), &t)) return false;
  *tamanho = static_cast<std::uint64_t>(t.QuadPart);
  return true;
}

// Size and last write only: the whole file information also asks for the volume's serial
// number, which under Wine is a round trip to another process at every open.
bool ArquivoSO::Atributos(std::uint64_t* tamanho, std::uint64_t* alteracao) {
  FILETIME escrita;
  if (!Tamanho(tamanho) || !GetFileTime(Handle(h_), nullptr, nullptr, &escrita)) return false;
  *alteracao = static_cast<std::uint64_t>(escrita.dwHighDateTime) << 32 | escrita.dwLowDateTime;
  return true;
}

bool ArquivoSO::Truncar(std::uint64_t tamanho) {
  LARGE_INTEGER t;
  t.QuadPart = static_cast<LONGLONG>(tamanho);
  return SetFilePointerEx(Handle(h_), t, nullptr, FILE_BEGIN) && SetEndOfFile(Handle(h_));
}

bool ArquivoSO::Sincronizar() { return FlushFileBuffers(Handle(h_)) != 0; }

bool ArquivoSO::Bloquear(std::uint64_t pos, bool exclusivo, bool esperar) {
  OVERLAPPED o = Posicao(pos);
  DWORD flags = (exclusivo ? LOCKFILE_EXCLUSIVE_LOCK : 0) | (esperar ? 0 : LOCKFILE_FAIL_IMMEDIATELY);
  return LockFileEx(Handle(h_), flags, 0, 1, 0, &o) != 0;
}

void ArquivoSO::Desbloquear(std::uint64_t pos) {
  OVERLAPPED o = Posicao(pos);
  UnlockFileEx(Handle(h_), 0, 1, 0, &o);
}

bool ArquivoSO::BloqueadoPorOutro(std::uint64_t pos) {
  // No lock query on Windows: an exclusive lock that cannot be granted means a holder of
  // either kind (the caller holds none on pos).
  if (!Bloquear(pos, true, false)) return true;
  Desbloquear(pos);
  return false;
}

bool ArquivoSO::Existe(const std::string& caminho) {
  return GetFileAttributesA(caminho.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void ArquivoSO::Pausar(unsigned microssegundos) { Sleep(microssegundos < 1000 ? 1 : microssegundos / 1000); }

bool ArquivoSO::CriarPastas(const std::string& pasta) {
  // Each folder on the way down; the drive, the server and the share simply fail to be created.
  constexpr const char* kSeparadores = "\\/";
  for (std::size_t fim = pasta.find_first_of(kSeparadores, 1); fim != std::string::npos;
       fim = pasta.find_first_of(kSeparadores, fim + 1))
    CreateDirectoryA(pasta.substr(0, fim).c_str(), nullptr);
  CreateDirectoryA(pasta.c_str(), nullptr);
  const DWORD atributos = GetFileAttributesA(pasta.c_str());
  return atributos != INVALID_FILE_ATTRIBUTES && (atributos & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool ArquivoSO::Renomear(const std::string& de, const std::string& para) {
  return MoveFileExA(de.c_str(), para.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

void ArquivoSO::Excluir(const std::string& caminho) { DeleteFileA(caminho.c_str()); }

}  // namespace tavoran::motor
#endif
