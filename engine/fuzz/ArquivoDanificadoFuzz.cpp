// libFuzzer target: opens damaged record files and runs every kind of operation on them.
// Inputs are either whole files or byte patches and truncations of two valid files, one
// of them left with an interrupted commit, or long call sequences through two opens of such
// a file. Any status is fine; a crash, a hang, or a Next that returns a record it already
// returned in the same run is not.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
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

// Rewrites the file in place and then sets its size: truncating it to nothing first makes
// ext4 push the old contents to the disk at every input.
void GravarArquivo(const std::string& nome, const std::uint8_t* d, std::size_t n) {
  {
    std::fstream f(nome, std::ios::binary | std::ios::in | std::ios::out);
    if (!f.is_open()) f.open(nome, std::ios::binary | std::ios::out);
    f.write(reinterpret_cast<const char*>(d), static_cast<std::streamsize>(n));
  }
  std::filesystem::resize_file(nome, n);
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

// Enough records for several leaves in the data tree and in each index.
constexpr int kRegistrosModelo = 360;

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
  for (int i = 0; i < kRegistrosModelo; ++i) {
    Registro(a, i * 7 % kRegistrosModelo);
    a.tam = 64;
    Chamar(2, a.bloco, a.dados, &a.tam, a.chave, 255, 0);
  }
  for (int i = 0; i < kRegistrosModelo; i += 3) {
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

// ---- call sequences ----------------------------------------------------------------------

// A patch of three bytes aimed at a page as a faulty disk might damage it: the page, what
// to damage and a value. Below 64 the value becomes the page's next or previous link (a
// page number of the file), below 128 it is XORed into the page header, else into the body.
void Remendar(std::vector<std::uint8_t>& f, const std::uint8_t* p) {
  constexpr std::size_t P = 4096;
  const std::size_t paginas = f.size() / P, pagina = p[0] % paginas * P;
  if (p[1] < 64) {
    const std::uint32_t destino = static_cast<std::uint32_t>(p[2] % paginas);
    std::memcpy(&f[pagina + (p[1] & 1 ? 12 : 8)], &destino, 4);
  } else if (p[1] < 128) {
    f[pagina + p[1] % 16] ^= p[2];
  } else {
    f[pagina + 16 + p[1] * 31 % (P - 16)] ^= p[2];
  }
}

// The identity of a position: the key buffer and the record's position.
std::vector<std::uint8_t> Identidade(Aberto& a) {
  std::vector<std::uint8_t> id(a.chave, a.chave + sizeof a.chave);
  a.tam = 4;
  if (Chamar(22, a.bloco, a.dados, &a.tam, a.chave, 255, 0) != 0) return {};
  id.insert(id.end(), a.dados, a.dados + 4);
  return id;
}

// A run of Get Next or Previous (on key k) or Step Next or Previous from the first or last
// record: no record may come back within the run.
void Correr(Aberto& a, int primeiro, int seguinte, int k) {
  std::set<std::vector<std::uint8_t>> vistos;
  std::memset(a.chave, 0, sizeof a.chave);
  int st = a.Op(primeiro, k);
  for (int i = 0; st == 0 && i < 2000; ++i) {
    if (!vistos.insert(Identidade(a)).second) __builtin_trap();  // did not advance
    std::memset(a.chave, 0, sizeof a.chave);
    st = a.Op(seguinte, k);
  }
}

// One step of a sequence, from three input bytes: what, through which open, on which key
// and with which value.
void Passo(Aberto* abertos, const std::uint8_t* p) {
  Aberto& a = abertos[p[0] & 1];
  Aberto& outro = abertos[(p[0] & 1) ^ 1];
  const int k = p[1] % 4, valor = p[2] | ((p[1] & 0xF0) << 4);
  switch ((p[0] >> 1) % 12) {
    case 0: Correr(a, 12, 6, k); break;
    case 1: Correr(a, 13, 7, k); break;
    case 2: Correr(a, 33, 24, 0); break;
    case 3: Correr(a, 34, 35, 0); break;
    case 4:
      std::snprintf(reinterpret_cast<char*>(a.chave), 9, "%08d", valor);
      a.Op(5 + (p[1] >> 2) % 7, k);
      break;
    case 5:
      Registro(a, valor);
      a.tam = 64;
      Chamar(2, a.bloco, a.dados, &a.tam, a.chave, 255, static_cast<std::int8_t>(k));
      break;
    case 6:
      a.dados[20] ^= static_cast<std::uint8_t>(valor);
      a.tam = 64;
      Chamar(static_cast<std::uint16_t>(3 + (valor & 1)), a.bloco, a.dados, &a.tam, a.chave, 255,
             static_cast<std::int8_t>(k));
      break;
    case 7: a.Op(19 + (valor % 3)); break;  // begin, end or abort a transaction
    case 8: {
      std::uint8_t espec[1904] = {};
      espec[0] = static_cast<std::uint8_t>(1 + valor % 60);
      espec[2] = 4;
      espec[4] = static_cast<std::uint8_t>(valor & 3);
      std::uint8_t kb = static_cast<std::uint8_t>(k + 128);
      std::uint32_t t = sizeof espec;
      Chamar(31, outro.bloco, espec, &t, &kb, 1, static_cast<std::int8_t>(k));
      break;
    }
    case 9: {
      std::uint32_t t = 0;
      Chamar(32, outro.bloco, outro.dados, &t, outro.chave, 255, static_cast<std::int8_t>(k));
      break;
    }
    case 10:
      std::memcpy(a.dados, &valor, 4);
      a.Op(23 + 100 * (p[1] >> 6 & 2), k);  // Get Direct, with no bias or bias 200
      break;
    default:
      if (a.Op(1) == 0) Abrir(a, g_arquivo);  // not while it holds a transaction's changes (41)
      break;
  }
}

void Sequencia(const std::uint8_t* entrada, std::size_t n) {
  Aberto abertos[2];
  if (Abrir(abertos[0], g_arquivo) != 0 || Abrir(abertos[1], g_arquivo) != 0) return;
  for (std::size_t i = 0; i + 3 <= n; i += 3) Passo(abertos, entrada + i);
  Aberto& a = abertos[0];
  a.Op(21);
  abertos[1].Op(1);
  a.Op(1);
  TavMotorVerificar(g_arquivo.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Commits need no flush here: thousands of them would only slow the search down.
  setenv("TAV_BTRIEVE_SINCRONIZAR", "0", 1);
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
  int modo = dados[0] % 5;
  if (modo == 4) {
    // A model file with a few patches (their count in the second byte), then the calls.
    std::vector<std::uint8_t> f = g_modelos[n > 1 ? dados[1] & 1 : 0];
    const std::size_t remendos = n > 1 ? (dados[1] >> 1) % 8 : 0;
    std::size_t i = 2;
    for (std::size_t r = 0; r < remendos && i + 3 <= n; ++r, i += 3) Remendar(f, dados + i);
    GravarArquivo(g_arquivo, f.data(), f.size());
    if (i < n) Sequencia(dados + i, n - i);
    return 0;
  }
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
