// Several processes on one file at the same time: concurrent writers lose nothing, an
// exclusive open keeps every other open out until it ends, and a killed writer leaves
// the file whole. POSIX only: processes are forked.
#ifndef _WIN32
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <random>
#include <sstream>

#include "engine/InjecaoFalhas.h"
#include "tests/engine/Auxiliar.h"

// GCC 12 at -O2 warns wrongly (-Wrestrict) on a literal plus std::to_string in this file.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wrestrict"
#endif

namespace tavoran::testes {
namespace {

constexpr std::size_t kReg = 64;

std::string Registro(const std::string& chave, const std::string& valor) {
  return Campo(chave, 16) + Campo(valor, kReg - 16);
}

void CriarArquivo(const std::string& nome) {
  ASSERT_EQ(ArquivoTeste::Criar(nome, Especificacao(kReg, 1024, 1, {{1, 16, 0}})), 0);
}

TEST(Multiprocesso, DezesseisEscritoresSimultaneosNaoPerdemNenhumaGravacao) {
  PastaTemporaria pasta;
  std::string nome = pasta.Arquivo("CONC.DAT");
  CriarArquivo(nome);
  constexpr int kProcessos = 16, kRegistros = 500;
  std::vector<pid_t> filhos;
  for (int p = 0; p < kProcessos; ++p) {
    filhos.push_back(Filho([&, p] {
      ArquivoTeste a;
      if (a.Abrir(nome) != 0) return 1;
      for (int i = 0; i < kRegistros; ++i) {
        std::string k = "P" + std::to_string(p) + "-" + std::to_string(i);
        if (a.Inserir(Registro(k, "inserido")) != 0) return 2;
      }
      for (int i = 0; i < kRegistros; ++i) {
        std::string k = "P" + std::to_string(p) + "-" + std::to_string(i);
        if (a.Ler(5, Campo(k, 16)) != 0) return 3;
        if (a.Alterar(Registro(k, "final " + std::to_string(i * p))) != 0) return 4;
      }
      return a.Fechar() == 0 ? 0 : 5;
    }));
  }
  for (pid_t f : filhos) EXPECT_EQ(Esperar(f), 0);
  EXPECT_EQ(TavMotorVerificar(nome.c_str()), 0);
  ArquivoTeste a;
  ASSERT_EQ(a.Abrir(nome), 0);
  int n = 0;
  for (int st = a.Ler(12); st == 0; st = a.Ler(6)) ++n;
  EXPECT_EQ(n, kProcessos * kRegistros);
  for (int p = 0; p < kProcessos; ++p)
    for (int i = 0; i < kRegistros; i += 7) {
      std::string k = "P" + std::to_string(p) + "-" + std::to_string(i);
      ASSERT_EQ(a.Ler(5, Campo(k, 16)), 0);
      EXPECT_EQ(a.Registro(kReg), Registro(k, "final " + std::to_string(i * p)));
    }
}

TEST(Multiprocesso, LeitoresVeemSempreRegistrosInteirosEnquantoOutroGrava) {
  PastaTemporaria pasta;
  std::string nome = pasta.Arquivo("LEIT.DAT");
  // Key 0 unique at 1/16; key 1 modifiable with duplicates over the first copy of the value.
  ASSERT_EQ(ArquivoTeste::Criar(nome, Especificacao(kReg, 1024, 2, {{1, 16, 0}, {17, 24, 1 | 2}})), 0);
  auto registro = [](int i, int g) {
    std::string v = Campo("v" + std::to_string(g), 24);
    return Campo("K" + std::to_string(i), 16) + v + v;
  };
  {
    ArquivoTeste a;
    ASSERT_EQ(a.Abrir(nome), 0);
    for (int i = 0; i < 300; ++i) ASSERT_EQ(a.Inserir(registro(i, 0)), 0);
  }
  pid_t escritor = Filho([&] {
    ArquivoTeste a;
    if (a.Abrir(nome) != 0) return 1;
    std::mt19937 rng(3);
    for (int g = 1; g < 3000; ++g) {
      int i = static_cast<int>(rng() % 300);
      if (a.Ler(5, Campo("K" + std::to_string(i), 16)) != 0) return 2;
      if (a.Alterar(registro(i, g)) != 0) return 3;
    }
    return 0;
  });
  std::vector<pid_t> leitores;
  for (int r = 0; r < 3; ++r) {
    leitores.push_back(Filho([&, r] {
      ArquivoTeste a;
      if (a.Abrir(nome) != 0) return 1;
      for (int volta = 0; volta < 40; ++volta) {
        int n = 0, k = r == 1 ? 1 : 0;
        int st = a.Ler(12, "", k);
        for (; st == 0; st = a.Ler(6, "", k)) {
          std::string rg = a.Registro(kReg);
          if (rg.substr(16, 24) != rg.substr(40, 24)) return 4;  // half of an update
          ++n;
        }
        if (st != 9) return 10 + st;
        if (n != 300 && k == 0) return 5;
        if (a.Ler(5, Campo("K" + std::to_string(volta * 7), 16)) != 0) return 6;
      }
      return 0;
    }));
  }
  EXPECT_EQ(Esperar(escritor), 0);
  for (pid_t l : leitores) EXPECT_EQ(Esperar(l), 0);
  EXPECT_EQ(TavMotorVerificar(nome.c_str()), 0);
}

// A child that opens the file in a mode, says so on a pipe, and waits for its end.
struct Segurador {
  pid_t pid = -1;
  int comando = -1;

  Segurador(const std::string& nome, int modo) {
    int pronto[2], cmd[2];
    EXPECT_EQ(pipe(pronto), 0);
    EXPECT_EQ(pipe(cmd), 0);
    pid = Filho([&] {
      close(pronto[0]);
      close(cmd[1]);
      ArquivoTeste a;
      char st = static_cast<char>(a.Abrir(nome, modo));
      if (write(pronto[1], &st, 1) != 1) return 1;
      char c = 0;
      if (read(cmd[0], &c, 1) != 1) return 2;
      return a.Fechar();
    });
    close(pronto[1]);
    close(cmd[0]);
    comando = cmd[1];
    char st = 99;
    EXPECT_EQ(read(pronto[0], &st, 1), 1);
    close(pronto[0]);
    EXPECT_EQ(st, 0);
  }
  void Fechar() {
    char c = 'f';
    EXPECT_EQ(write(comando, &c, 1), 1);
    EXPECT_EQ(Esperar(pid), 0);
    close(comando);
  }
  void Matar() {
    kill(pid, SIGKILL);
    Esperar(pid);
    close(comando);
  }
};

int AbrirEmOutroProcesso(const std::string& nome, int modo) {
  return Esperar(Filho([&] {
    ArquivoTeste a;
    return a.Abrir(nome, modo);
  }));
}

TEST(Multiprocesso, AberturaExclusivaRecusaOsOutrosComOitentaEOitoNosDoisSentidos) {
  PastaTemporaria pasta;
  std::string nome = pasta.Arquivo("EXCL.DAT");
  CriarArquivo(nome);
  ArquivoTeste a;
  {
    Segurador exclusivo(nome, -4);
    EXPECT_EQ(a.Abrir(nome, 0), 88);
    EXPECT_EQ(a.Abrir(nome, -4), 88);
    EXPECT_EQ(a.Abrir(nome, -2), 88);
    EXPECT_EQ(AbrirEmOutroProcesso(nome, 0), 88);
    exclusivo.Fechar();
  }
  ASSERT_EQ(a.Abrir(nome, 0), 0);
  EXPECT_EQ(AbrirEmOutroProcesso(nome, -4), 88);  // a normal open keeps an exclusive one out
  EXPECT_EQ(AbrirEmOutroProcesso(nome, 0), 0);
  ASSERT_EQ(a.Fechar(), 0);
  EXPECT_EQ(AbrirEmOutroProcesso(nome, -4), 0);
  {
    Segurador normal(nome, 0);
    EXPECT_EQ(a.Abrir(nome, -4), 88);
    normal.Matar();
  }
  ASSERT_EQ(a.Abrir(nome, -4), 0);
  ASSERT_EQ(a.Fechar(), 0);
  {
    Segurador exclusivo(nome, -4);
    EXPECT_EQ(a.Abrir(nome, 0), 88);
    exclusivo.Matar();  // the kernel releases a killed holder's open
  }
  EXPECT_EQ(a.Abrir(nome, 0), 0);
}

TEST(Multiprocesso, BloqueioDeRegistroDeOutroProcessoResponde84) {
  PastaTemporaria pasta;
  std::string nome = pasta.Arquivo("BLOQ.DAT");
  CriarArquivo(nome);
  ArquivoTeste a, b;
  ASSERT_EQ(a.Abrir(nome), 0);
  ASSERT_EQ(a.Inserir(Registro("K1", "v")), 0);
  ASSERT_EQ(a.Inserir(Registro("K2", "v")), 0);
  ASSERT_EQ(b.Abrir(nome), 0);
  ASSERT_EQ(a.Ler(5 + 200, Campo("K1", 16)), 0);  // single lock, no wait
  ASSERT_EQ(b.Ler(5, Campo("K1", 16)), 0);        // reading without a lock is allowed
  EXPECT_EQ(b.Alterar(Registro("K1", "b")), 84);
  EXPECT_EQ(b.Excluir(), 84);
  EXPECT_EQ(b.Ler(5 + 200, Campo("K1", 16)), 84);
  EXPECT_EQ(b.Ler(5 + 400, Campo("K1", 16)), 84);
  ASSERT_EQ(a.Ler(5 + 200, Campo("K2", 16)), 0);  // a new single lock releases the old one
  ASSERT_EQ(b.Ler(5 + 200, Campo("K1", 16)), 0);
  EXPECT_EQ(b.Alterar(Registro("K1", "b")), 0);
  ASSERT_EQ(a.Chamar(27), 0);
  ASSERT_EQ(b.Ler(5 + 400, Campo("K2", 16)), 0);
  ASSERT_EQ(b.Ler(5 + 400, Campo("K1", 16)), 0);
  EXPECT_EQ(a.Ler(5 + 200, Campo("K2", 16)), 84);
  b.tamanho = 4;
  std::memcpy(b.dados.data(), "\x02\0\0\0", 4);
  ASSERT_EQ(b.Chamar(27, -2), 0);
  EXPECT_EQ(a.Ler(5 + 200, Campo("K2", 16)), 0);
  // Another process waiting with bias 100 gets the record once the holder updates it.
  pid_t espera = Filho([&] {
    ArquivoTeste c;
    if (c.Abrir(nome) != 0) return 1;
    if (c.Ler(5 + 100, Campo("K2", 16)) != 0) return 2;
    return c.Registro(kReg) == Registro("K2", "de a") ? 0 : 3;
  });
  usleep(50000);
  ASSERT_EQ(a.Alterar(Registro("K2", "de a")), 0);
  EXPECT_EQ(Esperar(espera), 0);
}

// ---- crash ---------------------------------------------------------------------------------

struct Operacao {
  char tipo = 0;  // I insert, U update, D delete
  std::string chave, valor;
};

// The writer announces each operation before it starts ("B ...") and after it returns ("E").
int Escritor(const std::string& nome, int fd, unsigned semente, long falharApos) {
  ArquivoTeste a;
  if (a.Abrir(nome) != 0) return 1;
  if (falharApos > 0) motor::FalharAposGravacoes(falharApos);
  std::mt19937 rng(semente);
  for (int passo = 0;; ++passo) {
    std::string k = "K" + std::to_string(rng() % 300);
    std::string v = "v" + std::to_string(semente) + "." + std::to_string(passo);
    bool existe = a.Ler(5, Campo(k, 16)) == 0;
    char tipo = !existe ? 'I' : (rng() % 5 == 0 ? 'D' : 'U');
    std::string linha = std::string("B ") + tipo + " " + k + " " + v + "\n";
    if (write(fd, linha.data(), linha.size()) != static_cast<ssize_t>(linha.size())) return 2;
    int st = tipo == 'I' ? a.Inserir(Registro(k, v)) : tipo == 'U' ? a.Alterar(Registro(k, v)) : a.Excluir();
    if (st != 0) return 3;
    if (write(fd, "E\n", 2) != 2) return 2;
  }
}

std::string LerTudo(int fd) {
  std::string s;
  char buf[4096];
  ssize_t n;
  while ((n = read(fd, buf, sizeof buf)) > 0) s.append(buf, static_cast<std::size_t>(n));
  return s;
}

// Applies the announced operations to the model; returns the one still in flight, if any.
bool Aplicar(const std::string& log, std::map<std::string, std::string>* modelo, Operacao* pendente) {
  std::istringstream in(log);
  std::string linha;
  bool aberto = false;
  while (std::getline(in, linha)) {
    if (linha.size() >= 2 && linha[0] == 'B') {
      std::istringstream l(linha.substr(2));
      l >> pendente->tipo >> pendente->chave >> pendente->valor;
      aberto = true;
    } else if (linha == "E" && aberto) {
      if (pendente->tipo == 'D') modelo->erase(pendente->chave);
      else (*modelo)[pendente->chave] = pendente->valor;
      aberto = false;
    }
  }
  return aberto;
}

void ConferirDepoisDaQueda(const std::string& nome, std::map<std::string, std::string>* modelo, bool emCurso,
                           const Operacao& op, int rodada) {
  ASSERT_EQ(TavMotorVerificar(nome.c_str()), 0) << "rodada " << rodada;
  ArquivoTeste a;
  ASSERT_EQ(a.Abrir(nome), 0);
  std::map<std::string, std::string> arquivo;
  for (int st = a.Ler(12); st == 0; st = a.Ler(6)) {
    std::string r = a.Registro(kReg);
    std::string k = r.substr(0, 16), v = r.substr(16);
    while (!k.empty() && k.back() == ' ') k.pop_back();
    while (!v.empty() && v.back() == ' ') v.pop_back();
    arquivo[k] = v;
  }
  ASSERT_EQ(a.Fechar(), 0);
  if (emCurso) {
    // The interrupted operation is either wholly there or wholly absent.
    auto depois = *modelo;
    if (op.tipo == 'D') depois.erase(op.chave);
    else depois[op.chave] = op.valor;
    if (arquivo == depois) *modelo = depois;
    else ASSERT_EQ(arquivo, *modelo) << "rodada " << rodada << " operacao " << op.tipo << " " << op.chave;
  } else {
    ASSERT_EQ(arquivo, *modelo) << "rodada " << rodada;
  }
}

void RodadasDeQueda(int rodadas, bool porInjecao) {
  PastaTemporaria pasta;
  std::string nome = pasta.Arquivo("QUEDA.DAT");
  CriarArquivo(nome);
  std::map<std::string, std::string> modelo;
  std::mt19937 rng(12345);
  int interrompidas = 0, operacoes = 0;
  for (int rodada = 0; rodada < rodadas; ++rodada) {
    int canal[2];
    ASSERT_EQ(pipe(canal), 0);
    long falhar = porInjecao ? 1 + rodada % 37 : 0;
    pid_t escritor = Filho([&] {
      close(canal[0]);
      return Escritor(nome, canal[1], static_cast<unsigned>(rodada), falhar);
    });
    close(canal[1]);
    if (!porInjecao) {
      usleep(static_cast<useconds_t>(200 + rng() % 15000));
      kill(escritor, SIGKILL);
    }
    std::string log = LerTudo(canal[0]);
    close(canal[0]);
    int fim = Esperar(escritor);
    ASSERT_EQ(fim, 100 + SIGKILL) << "the writer must die by the signal, rodada " << rodada;
    Operacao op;
    bool emCurso = Aplicar(log, &modelo, &op);
    interrompidas += emCurso ? 1 : 0;
    operacoes += static_cast<int>(std::count(log.begin(), log.end(), 'E'));
    ConferirDepoisDaQueda(nome, &modelo, emCurso, op, rodada);
    if (::testing::Test::HasFatalFailure()) return;
  }
  std::printf("%d kills, %d of them inside an operation; %d operations completed; %zu records\n", rodadas,
              interrompidas, operacoes, modelo.size());
}

TEST(Queda, EscritorMortoEmPontosAleatoriosDeixaCadaRegistroVelhoOuNovo) { RodadasDeQueda(220, false); }

TEST(Queda, MorteEmCadaGravacaoDaConfirmacaoComBlocoPelaMetade) { RodadasDeQueda(111, true); }

}  // namespace
}  // namespace tavoran::testes
#endif
