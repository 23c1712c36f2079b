// The engine beside SQLite (WAL) on the same records and indexes, in the same run:
// per-operation latency, ratio to SQLite, pages per Get Equal, bytes read by Open.
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "engine/Contadores.h"
#include "engine/Motor.h"

namespace {

using Relogio = std::chrono::steady_clock;
using tavoran::motor::Chamar;

double Medir(int n, const std::function<void(int)>& f) {
  auto t0 = Relogio::now();
  for (int i = 0; i < n; ++i) f(i);
  return std::chrono::duration<double, std::micro>(Relogio::now() - t0).count() / n;
}

void Falhar(const char* o, int st) {
  std::fprintf(stderr, "%s: status %d\n", o, st);
  std::exit(1);
}

struct Segmento {
  int pos, len, flags;
};

// One open engine file with its buffers.
struct Motor {
  std::uint8_t bloco[128];
  std::vector<std::uint8_t> dados = std::vector<std::uint8_t>(4096, ' ');
  std::uint8_t chave[255];
  std::uint32_t tam = 0;

  static void Criar(const std::string& nome, int reg, int chaves, const std::vector<Segmento>& segs) {
    std::vector<std::uint8_t> e(16 + 16 * segs.size(), 0);
    e[0] = static_cast<std::uint8_t>(reg);
    e[1] = static_cast<std::uint8_t>(reg >> 8);
    e[3] = 4;  // page size 1024
    e[4] = static_cast<std::uint8_t>(chaves);
    for (std::size_t i = 0; i < segs.size(); ++i) {
      std::uint8_t* s = &e[16 + 16 * i];
      s[0] = static_cast<std::uint8_t>(segs[i].pos);
      s[1] = static_cast<std::uint8_t>(segs[i].pos >> 8);
      s[2] = static_cast<std::uint8_t>(segs[i].len);
      s[4] = static_cast<std::uint8_t>(segs[i].flags);
    }
    std::uint8_t b[128];
    std::memset(b, ' ', 128);
    std::uint32_t t = static_cast<std::uint32_t>(e.size());
    std::string n = nome;
    int st = Chamar(14, b, e.data(), &t, n.data(), static_cast<std::uint8_t>(n.size()), 0);
    if (st) Falhar("create", st);
  }
  void Abrir(const std::string& nome, int modo = 0) {
    std::memset(bloco, ' ', 128);
    std::memset(chave, 0, 255);
    std::memcpy(chave, nome.data(), nome.size());
    tam = 255;
    int st = Chamar(0, bloco, dados.data(), &tam, chave, 255, static_cast<std::int8_t>(modo));
    if (st) Falhar("open", st);
  }
  int Op(int op, int k = 0, std::uint32_t t = 4096) {
    tam = t;
    return Chamar(static_cast<std::uint16_t>(op), bloco, dados.data(), &tam, chave, 255, static_cast<std::int8_t>(k));
  }
  void Fechar() { Op(1); }
};

struct Sqlite {
  sqlite3* db = nullptr;
  explicit Sqlite(const std::string& nome) {
    std::filesystem::remove(nome);
    if (sqlite3_open(nome.c_str(), &db) != SQLITE_OK) Falhar("sqlite open", 1);
    Exec("PRAGMA journal_mode=WAL");
    Exec("PRAGMA synchronous=NORMAL");
  }
  ~Sqlite() { sqlite3_close(db); }
  void Exec(const char* sql) {
    char* erro = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &erro) != SQLITE_OK) {
      std::fprintf(stderr, "%s: %s\n", sql, erro ? erro : "");
      std::exit(1);
    }
  }
  sqlite3_stmt* Preparar(const char* sql) {
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) != SQLITE_OK) Falhar(sql, 1);
    return s;
  }
};

void Passo(sqlite3_stmt* s) {
  int r = sqlite3_step(s);
  if (r != SQLITE_DONE && r != SQLITE_ROW) Falhar("sqlite step", r);
  sqlite3_reset(s);
}

struct Linha {
  const char* op;
  double motor, sqlite;
};

void Imprimir(const char* titulo, const std::vector<Linha>& linhas) {
  std::printf("\n%s\n%-34s %12s %12s %8s\n", titulo, "operation", "engine us", "sqlite us", "ratio");
  for (const auto& l : linhas) std::printf("%-34s %12.2f %12.2f %8.2f\n", l.op, l.motor, l.sqlite, l.motor / l.sqlite);
}

std::string ChaveA(int i) {
  char b[32];
  std::snprintf(b, sizeof b, "CLI%027d", i);
  return std::string(b, 30);
}

void Registro256(std::uint8_t* d, int i, int versao) {
  std::memset(d, ' ', 256);
  std::memcpy(d, ChaveA(i).data(), 30);
  int n = std::snprintf(reinterpret_cast<char*>(d) + 30, 200, "nome do cliente %d endereco %d versao %d", i, i * 7,
                        versao);
  d[30 + n] = ' ';
}

// The same 256-byte file in both: the engine with one 30-byte key, a table with a unique index.
void CriarClientes(const std::string& nome, Motor& m, Sqlite& s) {
  Motor::Criar(nome, 256, 1, {{1, 30, 0}});
  m.Abrir(nome);
  s.Exec("CREATE TABLE t(id INTEGER PRIMARY KEY, k BLOB NOT NULL UNIQUE, rec BLOB NOT NULL)");
}

void BancoSimples(const std::string& pasta, int n) {
  std::string nome = pasta + "/CLIENTE.DAT";
  Motor m;
  Sqlite s(pasta + "/cliente.sqlite");
  CriarClientes(nome, m, s);
  std::vector<int> ordem(n);
  for (int i = 0; i < n; ++i) ordem[i] = i;
  std::mt19937 rng(42);
  std::shuffle(ordem.begin(), ordem.end(), rng);
  std::vector<Linha> linhas;
  std::uint8_t reg[256];

  double mi = Medir(n, [&](int i) {
    Registro256(m.dados.data(), ordem[i], 0);
    if (int st = m.Op(2, 0, 256)) Falhar("insert", st);
  });
  sqlite3_stmt* ins = s.Preparar("INSERT INTO t(k, rec) VALUES(?, ?)");
  double si = Medir(n, [&](int i) {
    Registro256(reg, ordem[i], 0);
    sqlite3_bind_blob(ins, 1, reg, 30, SQLITE_STATIC);
    sqlite3_bind_blob(ins, 2, reg, 256, SQLITE_STATIC);
    Passo(ins);
  });
  linhas.push_back({"Insert (one commit each)", mi, si});

  std::vector<int> busca(n);
  for (auto& b : busca) b = static_cast<int>(rng() % n);
  std::uint64_t v0 = 0, l0 = 0, v1 = 0, l1 = 0;
  TavMotorContadores(nullptr, &l0, &v0, 0);
  double mg = Medir(n, [&](int i) {
    std::memcpy(m.chave, ChaveA(busca[i]).data(), 30);
    if (int st = m.Op(5)) Falhar("get equal", st);
  });
  TavMotorContadores(nullptr, &l1, &v1, 0);
  sqlite3_stmt* sel = s.Preparar("SELECT rec FROM t WHERE k = ?");
  double sg = Medir(n, [&](int i) {
    std::string k = ChaveA(busca[i]);
    sqlite3_bind_blob(sel, 1, k.data(), 30, SQLITE_TRANSIENT);
    if (sqlite3_step(sel) != SQLITE_ROW) Falhar("sqlite select", 0);
    std::memcpy(reg, sqlite3_column_blob(sel, 0), 256);
    sqlite3_reset(sel);
  });
  linhas.push_back({"Get Equal", mg, sg});

  double ml = Medir(n, [&](int) {
    if (int st = m.Op(13)) Falhar("get last", st);
  });
  sqlite3_stmt* last = s.Preparar("SELECT rec FROM t ORDER BY k DESC LIMIT 1");
  double sl = Medir(n, [&](int) {
    if (sqlite3_step(last) != SQLITE_ROW) Falhar("sqlite last", 0);
    std::memcpy(reg, sqlite3_column_blob(last, 0), 256);
    sqlite3_reset(last);
  });
  linhas.push_back({"Get Last", ml, sl});

  int nu = n / 5;
  double mu = Medir(nu, [&](int i) {
    std::memcpy(m.chave, ChaveA(busca[i]).data(), 30);
    if (int st = m.Op(5)) Falhar("get for update", st);
    Registro256(m.dados.data(), busca[i], i + 1);
    if (int st = m.Op(3, 0, 256)) Falhar("update", st);
  });
  sqlite3_stmt* upd = s.Preparar("UPDATE t SET rec = ? WHERE k = ?");
  double su = Medir(nu, [&](int i) {
    Registro256(reg, busca[i], i + 1);
    sqlite3_bind_blob(upd, 1, reg, 256, SQLITE_STATIC);
    sqlite3_bind_blob(upd, 2, reg, 30, SQLITE_STATIC);
    Passo(upd);
  });
  linhas.push_back({"Update (Get Equal + Update)", mu, su});
  m.Fechar();

  char titulo[128];
  std::snprintf(titulo, sizeof titulo, "%d records of 256 bytes, one 30-byte key", n);
  Imprimir(titulo, linhas);
  std::printf("pages visited per Get Equal: %.2f (limit log2(n)+2 = %.1f); pages read from the file: %.3f\n",
              double(v1 - v0) / n, std::log2(double(n)) + 2, double(l1 - l0) / n);
  std::uint64_t bytes = 0;
  TavMotorContadores(nullptr, nullptr, nullptr, 1);
  Motor o;
  o.Abrir(nome);
  TavMotorContadores(&bytes, nullptr, nullptr, 1);
  std::printf("bytes read by Open: %llu (limit 16384); file size %llu bytes\n",
              static_cast<unsigned long long>(bytes),
              static_cast<unsigned long long>(std::filesystem::file_size(nome)));
  o.Fechar();
}

// The version file: 1024-byte records, 7 keys over 18 segments, all with duplicates.
const std::vector<Segmento> kSegmentosVersao = {
    {1, 14, 1},     {79, 64, 19},  {1, 14, 3},    {143, 14, 19}, {79, 64, 19}, {1, 14, 3},
    {189, 8, 19},   {79, 64, 19},  {1, 14, 3},    {197, 8, 19},  {79, 64, 19}, {1, 14, 3},
    {79, 64, 19},   {143, 14, 19}, {157, 32, 19}, {189, 8, 19},  {197, 8, 3},  {462, 19, 1}};
const std::vector<std::vector<int>> kChavesVersao = {{0}, {1, 2}, {3, 4, 5}, {6, 7, 8}, {9, 10, 11},
                                                     {12, 13, 14, 15, 16}, {17}};

void Campo(std::uint8_t* d, int pos, int len, const std::string& v) {
  std::memset(d + pos - 1, ' ', len);
  std::memcpy(d + pos - 1, v.data(), std::min<std::size_t>(len, v.size()));
}

void RegistroVersao(std::uint8_t* d, int i, int alteracao) {
  std::memset(d, ' ', 1024);
  Campo(d, 1, 14, "8.0." + std::to_string(i % 12));
  Campo(d, 79, 64, "C:\\TAVORAN\\KEM\\BIN\\ARQUIVO" + std::to_string(i / 2) + ".DLL");
  Campo(d, 143, 14, "1.0." + std::to_string(i % 97) + "." + std::to_string(i));
  Campo(d, 157, 32, "HASH" + std::to_string(i * 2654435761u));
  Campo(d, 189, 8, "2024" + std::to_string(1000 + i % 1000).substr(0, 4));
  Campo(d, 197, 8, std::to_string(20250000 + alteracao));
  Campo(d, 462, 19, std::to_string(100000000 + i % 5000));
}

std::vector<std::uint8_t> ValorChave(const std::uint8_t* d, int k) {
  std::vector<std::uint8_t> v;
  for (int s : kChavesVersao[k]) v.insert(v.end(), d + kSegmentosVersao[s].pos - 1,
                                          d + kSegmentosVersao[s].pos - 1 + kSegmentosVersao[s].len);
  return v;
}

void BancoVersao(const std::string& pasta, int n) {
  std::string nome = pasta + "/SSSVERSAO.DAT";
  Motor::Criar(nome, 1024, 7, kSegmentosVersao);
  Motor m;
  m.Abrir(nome);
  Sqlite s(pasta + "/versao.sqlite");
  s.Exec("CREATE TABLE v(id INTEGER PRIMARY KEY, rec BLOB, k0 BLOB, k1 BLOB, k2 BLOB, k3 BLOB, k4 BLOB, k5 BLOB, "
         "k6 BLOB)");
  for (int k = 0; k < 7; ++k) {
    std::string sql = "CREATE INDEX i" + std::to_string(k) + " ON v(k" + std::to_string(k) + ")";
    s.Exec(sql.c_str());
  }
  std::vector<Linha> linhas;
  std::vector<std::uint8_t> reg(1024);
  std::mt19937 rng(7);
  double mi = Medir(n, [&](int i) {
    RegistroVersao(m.dados.data(), i, 0);
    if (int st = m.Op(2, 0, 1024)) Falhar("insert v", st);
  });
  sqlite3_stmt* ins = s.Preparar("INSERT INTO v(rec,k0,k1,k2,k3,k4,k5,k6) VALUES(?,?,?,?,?,?,?,?)");
  double si = Medir(n, [&](int i) {
    RegistroVersao(reg.data(), i, 0);
    sqlite3_bind_blob(ins, 1, reg.data(), 1024, SQLITE_STATIC);
    for (int k = 0; k < 7; ++k) {
      auto v = ValorChave(reg.data(), k);
      sqlite3_bind_blob(ins, 2 + k, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
    }
    Passo(ins);
  });
  linhas.push_back({"Insert (7 keys, one commit each)", mi, si});

  std::vector<int> busca(n);
  for (auto& b : busca) b = static_cast<int>(rng() % n);
  std::uint64_t v0 = 0, v1 = 0;
  TavMotorContadores(nullptr, nullptr, &v0, 0);
  double mg = Medir(n, [&](int i) {
    RegistroVersao(reg.data(), busca[i], 0);
    auto v = ValorChave(reg.data(), 1);
    std::memcpy(m.chave, v.data(), v.size());
    if (int st = m.Op(5, 1)) Falhar("get equal v", st);
  });
  TavMotorContadores(nullptr, nullptr, &v1, 0);
  sqlite3_stmt* sel = s.Preparar("SELECT rec FROM v WHERE k1 = ? ORDER BY k1, id LIMIT 1");
  double sg = Medir(n, [&](int i) {
    RegistroVersao(reg.data(), busca[i], 0);
    auto v = ValorChave(reg.data(), 1);
    sqlite3_bind_blob(sel, 1, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
    if (sqlite3_step(sel) != SQLITE_ROW) Falhar("sqlite select v", 0);
    std::memcpy(reg.data(), sqlite3_column_blob(sel, 0), 1024);
    sqlite3_reset(sel);
  });
  linhas.push_back({"Get Equal (key 1, two segments)", mg, sg});

  double ml = Medir(n, [&](int) {
    if (int st = m.Op(13, 6)) Falhar("get last v", st);
  });
  sqlite3_stmt* last = s.Preparar("SELECT rec FROM v ORDER BY k6 DESC, id DESC LIMIT 1");
  double sl = Medir(n, [&](int) {
    if (sqlite3_step(last) != SQLITE_ROW) Falhar("sqlite last v", 0);
    std::memcpy(reg.data(), sqlite3_column_blob(last, 0), 1024);
    sqlite3_reset(last);
  });
  linhas.push_back({"Get Last (key 6)", ml, sl});

  int nu = n / 4;
  double mu = Medir(nu, [&](int i) {
    RegistroVersao(m.dados.data(), busca[i], 0);
    auto v = ValorChave(m.dados.data(), 1);
    std::memcpy(m.chave, v.data(), v.size());
    if (int st = m.Op(5, 1)) Falhar("get for update v", st);
    Campo(m.dados.data(), 197, 8, std::to_string(20260000 + i));
    if (int st = m.Op(3, 1, 1024)) Falhar("update v", st);
  });
  sqlite3_stmt* upd = s.Preparar("UPDATE v SET rec = ?, k4 = ?, k5 = ? WHERE id = "
                                 "(SELECT id FROM v WHERE k1 = ? ORDER BY k1, id LIMIT 1)");
  double su = Medir(nu, [&](int i) {
    RegistroVersao(reg.data(), busca[i], 0);
    auto chave1 = ValorChave(reg.data(), 1);
    Campo(reg.data(), 197, 8, std::to_string(20260000 + i));
    auto k4 = ValorChave(reg.data(), 4), k5 = ValorChave(reg.data(), 5);
    sqlite3_bind_blob(upd, 1, reg.data(), 1024, SQLITE_STATIC);
    sqlite3_bind_blob(upd, 2, k4.data(), static_cast<int>(k4.size()), SQLITE_TRANSIENT);
    sqlite3_bind_blob(upd, 3, k5.data(), static_cast<int>(k5.size()), SQLITE_TRANSIENT);
    sqlite3_bind_blob(upd, 4, chave1.data(), static_cast<int>(chave1.size()), SQLITE_TRANSIENT);
    Passo(upd);
  });
  linhas.push_back({"Update (2 of 7 keys change)", mu, su});
  m.Fechar();
  char titulo[128];
  std::snprintf(titulo, sizeof titulo, "%d version-file records of 1024 bytes, 7 keys / 18 segments", n);
  Imprimir(titulo, linhas);
  std::printf("pages visited per Get Equal: %.2f (limit log2(n)+2 = %.1f)\n", double(v1 - v0) / n,
              std::log2(double(n)) + 2);
  std::uint64_t bytes = 0;
  TavMotorContadores(nullptr, nullptr, nullptr, 1);
  Motor o;
  o.Abrir(nome);
  TavMotorContadores(&bytes, nullptr, nullptr, 1);
  std::printf("bytes read by Open: %llu\n", static_cast<unsigned long long>(bytes));
  o.Fechar();
}

// Commits flushed to the disk: the engine as it ships (one flush per commit), SQLite with
// synchronous=FULL (WAL). Batches of each alternate, so that a load on the computer that
// changes during the run weighs on both alike.
void BancoDuravel(const std::string& pasta, int n) {
  unsetenv("TAV_BTRIEVE_SINCRONIZAR");
  Motor m;
  Sqlite s(pasta + "/duravel.sqlite");
  s.Exec("PRAGMA synchronous=FULL");
  CriarClientes(pasta + "/DURAVEL.DAT", m, s);
  std::uint8_t reg[256];
  sqlite3_stmt* ins = s.Preparar("INSERT INTO t(k, rec) VALUES(?, ?)");
  constexpr int kLote = 25;
  double mi = 0, si = 0;
  std::vector<double> razoes;
  for (int inicio = 0; inicio < n; inicio += kLote) {
    const double lm = Medir(kLote, [&](int i) {
      Registro256(m.dados.data(), inicio + i, 0);
      if (int st = m.Op(2, 0, 256)) Falhar("insert durable", st);
    });
    const double ls = Medir(kLote, [&](int i) {
      Registro256(reg, inicio + i, 0);
      sqlite3_bind_blob(ins, 1, reg, 30, SQLITE_STATIC);
      sqlite3_bind_blob(ins, 2, reg, 256, SQLITE_STATIC);
      Passo(ins);
    });
    mi += lm;
    si += ls;
    razoes.push_back(lm / ls);
  }
  const int lotes = static_cast<int>(razoes.size());
  m.Fechar();
  setenv("TAV_BTRIEVE_SINCRONIZAR", "0", 1);
  char titulo[128];
  std::snprintf(titulo, sizeof titulo, "%d inserts flushed to disk (engine 1 flush per commit, SQLite FULL)",
                lotes * kLote);
  Imprimir(titulo, {{"Insert (durable commit)", mi / lotes, si / lotes}});
  std::sort(razoes.begin(), razoes.end());
  std::printf("median ratio of %d alternating batches of %d: %.2f\n", lotes, kLote, razoes[razoes.size() / 2]);
}

// Pages read from the file by Get Equal on a newly opened file (cold cache).
void LeiturasFrias(const std::string& pasta, int n, int buscas) {
  std::string nome = pasta + "/CLIENTE.DAT";
  Motor m;
  m.Abrir(nome);
  std::mt19937 rng(99);
  std::uint64_t l0 = 0, l1 = 0, b0 = 0, b1 = 0;
  TavMotorContadores(&b0, &l0, nullptr, 0);
  for (int i = 0; i < buscas; ++i) {
    std::memcpy(m.chave, ChaveA(static_cast<int>(rng() % n)).data(), 30);
    if (int st = m.Op(5)) Falhar("cold get equal", st);
  }
  TavMotorContadores(&b1, &l1, nullptr, 0);
  std::printf("cold cache: %d Get Equal on a new open read %.2f pages (%.0f bytes) each from the file\n", buscas,
              double(l1 - l0) / buscas, double(b1 - b0) / buscas);
  m.Fechar();
}

}  // namespace

int main(int argc, char** argv) {
  std::string pasta = argc > 1 ? argv[1] : (std::filesystem::temp_directory_path() / "tavbench").string();
  std::filesystem::remove_all(pasta);
  std::filesystem::create_directories(pasta);
  // Beside SQLite's NORMAL, which does not flush at every commit, the engine does not either.
  setenv("TAV_BTRIEVE_SINCRONIZAR", "0", 1);
  std::printf("engine: flushing off (TAV_BTRIEVE_SINCRONIZAR=0); SQLite %s: WAL, synchronous=NORMAL\n",
              sqlite3_libversion());
  // A second argument "duravel" runs only the durable commits.
  const bool soDuravel = argc > 2 && std::string(argv[2]) == "duravel";
  if (!soDuravel) {
    BancoSimples(pasta, 100000);
    LeiturasFrias(pasta, 100000, 200);
    BancoVersao(pasta, 20000);
  }
  BancoDuravel(pasta, 1000);
  std::filesystem::remove_all(pasta);
  return 0;
}
