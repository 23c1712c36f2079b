// libFuzzer target: opens damaged record files and runs every kind of operation on them.
// Inputs are either whole files or byte patches and truncations of two valid files, one
// of them left with an interrupted commit. Any status is fine; a crash or hang is not.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/Motor.h"
#include "engine/InjecaoFalhas.h"

namespace {

using tavoran::motor::Chamar;

std::string g_pasta;
std::string g_arquivo;
std::vector<std::uint8_t> g_modelos[2];

struct Aberto {
  std::uint8_t bloco[128];
  std::uint8_t dados[4096];
  std::uint8_t chave[255];
  std::uint32_t tam = 0;
  int Op(int op, int k = 0) {
    tam = sizeof dados;
    return Chamar(static_cast<std::uint16_t>(op), bloco, dados, &tam, chave, 255, static_cast<std::int8_t>(k));
  }
};

std::vector<std::uint8_t> LerArquivo(const std::string& nome) {
  std::ifstream f(nome, std::ios::binary);
  return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(f)), {});
}

void GravarArquivo(const std::string& nome, const std::uint8_t* d, std::size_t n) {
  std::ofstream f(nome, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(d), static_cast<std::streamsize>(n));
}

int Abrir(Aberto& a, const std::string& nome) {
  std::memset(a.bloco, ' ', sizeof a.bloco);
  std::memset(a.chave, 0, sizeof a.chave);
  std::memcpy(a.chave, nome.data(), nome.size());
  std::memset(a.dados, ' ', sizeof a.dados);
  a.tam = 255;
  return Chamar(0, a.bloco, a.dados, &a.tam, a.chave, static_cast<std::uint8_t>(nome.size()), 0);
}

void Registro(Aberto& a, int i) {
  std::memset(a.dados, ' ', 64);
  std::snprintf(reinterpret_cast<char*>(a.dados), 64, "%08d grupo%02d texto %d", i, i % 7, i * 31);
  a.dados[std::strlen(reinterpret_cast<char*>(a.dados))] = ' ';
}

// 64-byte records; key 0 unique 8 bytes, key 1 duplicates/modifiable over two segments.
void MontarModelo(const std::string& nome, bool interrompido) {
  std::uint8_t espec[16 + 48] = {};
  espec[0] = 64;
  espec[3] = 2;
  espec[4] = 2;
  auto seg = [&](int i, int pos, int len, int flags) {
    std::uint8_t* e = espec + 16 + 16 * i;
    e[0] = static_cast<std::uint8_t>(pos);
    e[2] = static_cast<std::uint8_t>(len);
    e[4] = static_cast<std::uint8_t>(flags);
  };
  seg(0, 1, 8, 0);
  seg(1, 10, 7, 1 | 2 | 16);
  seg(2, 1, 8, 1 | 2);
  std::uint8_t bloco[128];
  std::memset(bloco, ' ', sizeof bloco);
  std::uint32_t t = sizeof espec;
  std::string n = nome;
  Chamar(14, bloco, espec, &t, n.data(), static_cast<std::uint8_t>(n.size()), 0);
  Aberto a;
  Abrir(a, nome);
  for (int i = 0; i < 150; ++i) {
    Registro(a, i * 7 % 150);
    a.tam = 64;
    Chamar(2, a.bloco, a.dados, &a.tam, a.chave, 255, 0);
  }
  for (int i = 0; i < 150; i += 3) {
    std::snprintf(reinterpret_cast<char*>(a.chave), 9, "%08d", i);
    if (a.Op(5) == 0) a.Op(4);
  }
  a.Op(1);
  if (!interrompido) return;
  // A writer killed in the middle of its commit leaves a journal to roll back.
  pid_t pid = fork();
  if (pid == 0) {
    Aberto b;
    Abrir(b, nome);
    tavoran::motor::FalharAposGravacoes(4);
    for (int i = 1000;; ++i) {
      Registro(b, i);
      b.tam = 64;
      Chamar(2, b.bloco, b.dados, &b.tam, b.chave, 255, 0);
    }
  }
  int st = 0;
  waitpid(pid, &st, 0);
}

void Exercitar(const std::uint8_t* entrada, std::size_t n) {
  Aberto a;
  if (Abrir(a, g_arquivo) != 0) return;
  a.Op(15);
  a.Op(26);
  for (int k = 0; k < 3; ++k) {
    int st = a.Op(12, k);
    for (int i = 0; i < 40 && st == 0; ++i) st = a.Op(6, k);
    st = a.Op(13, k);
    for (int i = 0; i < 40 && st == 0; ++i) st = a.Op(7, k);
  }
  for (int op : {5, 8, 9, 10, 11}) {
    std::memset(a.chave, '0', 8);
    if (n >= 8) std::memcpy(a.chave, entrada + n - 8, 8);
    a.Op(op, 0);
    a.Op(op + 100, 1);
  }
  int st = a.Op(33);
  for (int i = 0; i < 40 && st == 0; ++i) st = a.Op(24);
  Registro(a, 5000 + static_cast<int>(n));
  a.tam = 64;
  Chamar(2, a.bloco, a.dados, &a.tam, a.chave, 255, 1);
  if (a.Op(12, 1) == 0) {
    a.dados[20] ^= 1;
    a.tam = 64;
    Chamar(3, a.bloco, a.dados, &a.tam, a.chave, 255, 1);
  }
  if (a.Op(13, 0) == 0) a.Op(4);
  std::uint8_t espec[1904];
  std::memset(espec, ' ', sizeof espec);
  std::memset(espec, 0, 16);
  espec[0] = 30;
  espec[2] = 4;
  espec[4] = 1;
  std::uint8_t kb = 3 + 128;
  std::uint32_t t = sizeof espec;
  Chamar(31, a.bloco, espec, &t, &kb, 1, 3);
  t = sizeof espec;
  Chamar(32, a.bloco, espec, &t, a.chave, 255, 3);
  a.Op(1);
  TavMotorVerificar(g_arquivo.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char modelo[] = "/tmp/tavfuzzXXXXXX";
  g_pasta = mkdtemp(modelo);
  std::string limpo = g_pasta + "/LIMPO.DAT", quebrado = g_pasta + "/QUEBRADO.DAT";
  MontarModelo(limpo, false);
  MontarModelo(quebrado, true);
  g_modelos[0] = LerArquivo(limpo);
  g_modelos[1] = LerArquivo(quebrado);
  g_arquivo = g_pasta + "/ALVO.DAT";
  std::atexit([] {
    std::error_code ec;
    std::filesystem::remove_all(g_pasta, ec);
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t n) {
  if (n == 0) return 0;
  int modo = dados[0] % 4;
  if (modo == 0) {
    GravarArquivo(g_arquivo, dados + 1, n - 1);
  } else {
    std::vector<std::uint8_t> f = g_modelos[modo == 3 ? 1 : 0];
    std::size_t i = 1;
    if (modo == 2 && n >= 3) {
      f.resize(f.size() * ((dados[1] << 8) | dados[2]) / 65536);
      i = 3;
    }
    // Patches of four bytes: a 24-bit offset into the file and a byte to XOR there.
    for (; i + 4 <= n && !f.empty(); i += 4) {
      std::size_t pos = ((dados[i] << 16) | (dados[i + 1] << 8) | dados[i + 2]) % f.size();
      f[pos] ^= dados[i + 3];
    }
    GravarArquivo(g_arquivo, f.data(), f.size());
  }
  Exercitar(dados, n);
  return 0;
}
