#pragma once
// Test-side wrapper over the engine's BTRCALL: builds specifications, holds a position
// block and buffers, and names the statuses the tests expect.
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "engine/Motor.h"

namespace tavoran::testes {

struct SegmentoTeste {
  std::uint16_t posicao, tamanho, flags;
  std::uint8_t tipo = 0;
};

// File specification buffer: header + one 16-byte entry per segment.
inline std::vector<std::uint8_t> Especificacao(std::uint16_t tamanhoRegistro, std::uint16_t pagina,
                                               std::uint16_t chaves, const std::vector<SegmentoTeste>& segs) {
  std::vector<std::uint8_t> e(16 + 16 * segs.size(), 0);
  auto g16 = [&](std::size_t o, std::uint16_t v) {
    e[o] = static_cast<std::uint8_t>(v);
    e[o + 1] = static_cast<std::uint8_t>(v >> 8);
  };
  g16(0, tamanhoRegistro);
  g16(2, pagina);
  g16(4, chaves);
  for (std::size_t i = 0; i < segs.size(); ++i) {
    std::size_t o = 16 + 16 * i;
    g16(o, segs[i].posicao);
    g16(o + 2, segs[i].tamanho);
    g16(o + 4, segs[i].flags);
    e[o + 10] = segs[i].tipo;
    std::memset(&e[o + 11], ' ', 5);
  }
  return e;
}

class PastaTemporaria {
 public:
  PastaTemporaria() {
    static int n = 0;
    caminho_ = std::filesystem::temp_directory_path() /
               ("tavmotor-" + std::to_string(Pid()) + "-" + std::to_string(++n));
    std::filesystem::remove_all(caminho_);
    std::filesystem::create_directories(caminho_);
  }
  ~PastaTemporaria() {
    std::error_code ec;
    std::filesystem::remove_all(caminho_, ec);
  }
  std::string Arquivo(const std::string& nome) const { return (caminho_ / nome).string(); }

 private:
  static long Pid();
  std::filesystem::path caminho_;
};

class ArquivoTeste {
 public:
  std::uint8_t bloco[128];
  std::vector<std::uint8_t> dados = std::vector<std::uint8_t>(4096, ' ');
  std::uint8_t chave[255];
  std::uint32_t tamanho = 0;

  ArquivoTeste() {
    std::memset(bloco, ' ', sizeof bloco);
    std::memset(chave, ' ', sizeof chave);
  }

  int Chamar(int op, int numeroChave = 0) {
    return motor::Chamar(static_cast<std::uint16_t>(op), bloco, dados.data(), &tamanho, chave, 255,
                         static_cast<std::int8_t>(numeroChave));
  }
  static int Criar(const std::string& caminho, std::vector<std::uint8_t> espec, int numeroChave = -1) {
    std::uint8_t b[128];
    std::memset(b, ' ', sizeof b);
    std::uint32_t t = static_cast<std::uint32_t>(espec.size());
    std::vector<char> nome(caminho.begin(), caminho.end());
    return motor::Chamar(14, b, espec.data(), &t, nome.data(), static_cast<std::uint8_t>(nome.size()),
                         static_cast<std::int8_t>(numeroChave));
  }
  int Abrir(const std::string& caminho, int modo = 0, const std::string& dono = "") {
    std::memset(chave, 0, sizeof chave);
    std::memcpy(chave, caminho.data(), caminho.size());
    std::fill(dados.begin(), dados.end(), ' ');
    std::memcpy(dados.data(), dono.c_str(), dono.size() + 1);
    tamanho = dono.empty() ? 255 : static_cast<std::uint32_t>(dono.size() + 1);
    return Chamar(0, modo);
  }
  int Fechar() { return Chamar(1); }
  int Inserir(const std::string& registro, int numeroChave = 0) {
    Preencher(registro);
    return Chamar(2, numeroChave);
  }
  int Alterar(const std::string& registro, int numeroChave = 0) {
    Preencher(registro);
    return Chamar(3, numeroChave);
  }
  int Excluir() { return Chamar(4); }
  // A read with the key value given left-aligned in the 255-byte key buffer.
  int Ler(int op, const std::string& valorChave = "", int numeroChave = 0) {
    std::memset(chave, ' ', sizeof chave);
    std::memcpy(chave, valorChave.data(), valorChave.size());
    tamanho = static_cast<std::uint32_t>(dados.size());
    return Chamar(op, numeroChave);
  }
  std::string Registro(std::size_t n) const { return std::string(dados.begin(), dados.begin() + n); }
  std::string Chave(std::size_t n) const { return std::string(chave, chave + n); }

 private:
  void Preencher(const std::string& registro) {
    std::fill(dados.begin(), dados.end(), ' ');
    std::memcpy(dados.data(), registro.data(), registro.size());
    tamanho = static_cast<std::uint32_t>(registro.size());
  }
};

// Sets an environment variable for the life of the object (nullptr: unset), then puts back
// what was there.
class AmbienteTemporario {
 public:
  AmbienteTemporario(const char* nome, const char* valor);
  ~AmbienteTemporario();
  AmbienteTemporario(const AmbienteTemporario&) = delete;
  AmbienteTemporario& operator=(const AmbienteTemporario&) = delete;

 private:
  static void Definir(const char* nome, const char* valor);
  std::string nome_;
  bool havia_;
  std::string antes_;
};

#ifndef _WIN32
// Runs f in a forked child process; the child's exit status is f's result.
int Filho(const std::function<int()>& f);
// The child's exit status, or 100 + the signal that ended it.
int Esperar(int pid);

// Another process, forked at construction (before the caller starts a transaction, whose
// state a fork would copy), that runs f(request) whenever asked and answers its result.
class OutroProcesso {
 public:
  explicit OutroProcesso(const std::function<int(int)>& f);
  ~OutroProcesso();
  OutroProcesso(const OutroProcesso&) = delete;
  OutroProcesso& operator=(const OutroProcesso&) = delete;

  int Pedir(int pedido) {
    Enviar(pedido);
    return Resposta();
  }
  void Enviar(int pedido);
  bool Respondeu();  // an answer is waiting, without blocking
  int Resposta();
  // Asleep inside the engine's wait for a lock (the only sleep between a request and its answer).
  bool Esperando();

 private:
  int pid_ = -1;
  int ida_ = -1, volta_ = -1;
};
#endif

// A whole file's bytes (empty when it cannot be read), and a file made of these bytes.
std::vector<std::uint8_t> Bytes(const std::string& nome);
void Gravar(const std::string& nome, const std::vector<std::uint8_t>& bytes);

// Text and a number after it ("K" 12 -> "K12"). Built by appending: GCC 12 at -O2 warns
// wrongly (-Wrestrict) on a literal plus std::to_string.
inline std::string Rotulo(const std::string& texto, long long numero) {
  std::string r = texto;
  r.append(std::to_string(numero));
  return r;
}

// Fixed-width record text, left-aligned and padded with blanks.
inline std::string Campo(const std::string& texto, std::size_t largura) {
  std::string s = texto.substr(0, largura);
  s.resize(largura, ' ');
  return s;
}

}  // namespace tavoran::testes
