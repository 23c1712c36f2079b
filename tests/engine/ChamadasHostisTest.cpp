// Call sequences a hostile or unlucky caller makes: a key dropped by another open, a call
// that fails inside a transaction, a damaged tree, a second file in a transaction, and,
// between processes, the lock holder's update, the wait biases and a read-only file.
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>

#include "engine/Bytes.h"
#include "engine/InjecaoFalhas.h"
#include "tests/engine/Auxiliar.h"

#ifndef _WIN32
#include <sched.h>
#include <unistd.h>
#endif

namespace tavoran::testes {
namespace {

using motor::Le16;
using motor::Le32;

constexpr std::size_t kReg = 64;

// 64-byte records; key 0 unique (10 bytes), key 1 with duplicates (5 bytes), key 2 unique
// over the record's last 8 bytes.
std::string Reg(int k, int grupo = 0, const std::string& resto = "") {
  char cauda[9];
  std::snprintf(cauda, sizeof cauda, "%08d", k);
  return Campo(Rotulo("K", k), 10) + Campo(Rotulo("G", grupo), 5) + Campo(resto, 41) + cauda;
}

class ChamadasHostis : public ::testing::Test {
 protected:
  PastaTemporaria pasta;
  std::string nome = pasta.Arquivo("HOSTIL.DAT");
  ArquivoTeste a;

  void Criar(int registros) {
    ASSERT_EQ(ArquivoTeste::Criar(nome, Especificacao(kReg, 1024, 3, {{1, 10, 0}, {11, 5, 1 | 2}, {57, 8, 0}})), 0);
    ASSERT_EQ(a.Abrir(nome), 0);
    ASSERT_EQ(a.Chamar(19), 0);
    for (int i = 0; i < registros; ++i) ASSERT_EQ(a.Inserir(Reg(i * 7919 % registros, i % 9)), 0);
    ASSERT_EQ(a.Chamar(20), 0);
  }
  int Transacao(int op) { return a.Chamar(op); }
  // Create Supplemental Index (31) of one segment as key `numero`.
  int CriarIndice(ArquivoTeste& arq, std::uint16_t posicao, std::uint16_t tamanho, std::uint16_t flags, int numero) {
    std::vector<std::uint8_t> espec(1904, ' ');
    auto seg = Especificacao(kReg, 512, 1, {{posicao, tamanho, flags}});
    std::memcpy(espec.data(), seg.data() + 16, 16);
    std::uint32_t t = 1904;
    std::uint8_t k = static_cast<std::uint8_t>(numero + 128);
    return motor::Chamar(31, arq.bloco, espec.data(), &t, &k, 1, static_cast<std::int8_t>(numero));
  }
  int ExcluirIndice(ArquivoTeste& arq, int numero) {
    std::uint32_t t = 0;
    return motor::Chamar(32, arq.bloco, arq.dados.data(), &t, arq.chave, 255, static_cast<std::int8_t>(numero));
  }
  int ChavesNoArquivo(ArquivoTeste& arq) {
    arq.tamanho = 1920;
    return arq.Chamar(15) == 0 ? Le16(arq.dados.data() + 4) : -1;
  }
  // Get Direct (23) of the record at a position, with a key number.
  int LerDireto(ArquivoTeste& arq, std::uint32_t posicao, int numeroChave, int vies = 0) {
    motor::Grava32(arq.dados.data(), posicao);
    arq.tamanho = static_cast<std::uint32_t>(arq.dados.size());
    return arq.Chamar(23 + vies, numeroChave);
  }
  std::uint32_t Posicao(ArquivoTeste& arq) {
    arq.tamanho = 4;
    return arq.Chamar(22) == 0 ? Le32(arq.dados.data()) : 0;
  }
};

TEST_F(ChamadasHostis, ChaveExcluidaPorOutraAberturaResponde6) {
  Criar(50);
  ASSERT_EQ(a.Ler(5, Campo("K7", 10)), 0);
  const std::uint32_t posicao = Posicao(a);
  ArquivoTeste b;
  ASSERT_EQ(b.Abrir(nome), 0);
  ASSERT_EQ(ExcluirIndice(b, 2), 0);  // a still holds the header with three keys
  EXPECT_EQ(LerDireto(a, posicao, 2), 6);
  EXPECT_EQ(ExcluirIndice(a, 2), 6);
  ASSERT_EQ(a.Ler(5, Campo("K7", 10)), 0);
  EXPECT_EQ(a.Alterar(Reg(7, 3), 2), 6);
  EXPECT_EQ(a.Ler(12, "", 2), 6);
  EXPECT_EQ(LerDireto(a, posicao, 1), 0);
  EXPECT_EQ(a.Chave(5), a.Registro(15).substr(10));
#ifndef _WIN32
  // The same from another process, on the key now last.
  ASSERT_EQ(Esperar(Filho([&] {
              ArquivoTeste c;
              return c.Abrir(nome) == 0 && ExcluirIndice(c, 1) == 0 ? 0 : 1;
            })),
            0);
  EXPECT_EQ(LerDireto(a, posicao, 1), 6);
  EXPECT_EQ(ExcluirIndice(a, 1), 6);
#endif
  EXPECT_EQ(TavMotorVerificar(nome.c_str()), 0);
}

// Create Supplemental Index (31) fails with 5 halfway through a transaction: the inserts
// and the update before it and after it are committed at the end, the index is not, and the
// transaction keeps its locks until then.
TEST_F(ChamadasHostis, ChamadaQueFalhaNaTransacaoDesfazSoOQueEla) {
  Criar(300);
#ifndef _WIN32
  OutroProcesso outro([&](int) {
    ArquivoTeste c;
    if (c.Abrir(nome) != 0) return 1;
    if (c.Inserir(Reg(2000)) != 85) return 2;                         // the transaction's file lock
    return c.Ler(5 + 200, Campo("K10", 10)) == 84 ? 0 : 3;           // the record it updated
  });
#endif
  ASSERT_EQ(Transacao(19), 0);
  ASSERT_EQ(a.Inserir(Reg(1000)), 0);
  ASSERT_EQ(a.Ler(5, Campo("K10", 10)), 0);
  ASSERT_EQ(a.Alterar(Reg(10, 4, "na transacao")), 0);
  EXPECT_EQ(CriarIndice(a, 11, 5, 0, 3), 5);  // key 1's groups repeat
  EXPECT_EQ(ChavesNoArquivo(a), 3);
  EXPECT_EQ(a.Inserir(Reg(1000)), 5);  // the transaction's insert is still there
  ASSERT_EQ(a.Inserir(Reg(1001)), 0);
#ifndef _WIN32
  EXPECT_EQ(outro.Pedir(0), 0);
#endif
  ASSERT_EQ(Transacao(20), 0);
  for (int k : {1000, 1001, 10}) ASSERT_EQ(a.Ler(5, Campo(Rotulo("K", k), 10)), 0) << k;
  EXPECT_EQ(a.Registro(kReg), Reg(10, 4, "na transacao"));
  EXPECT_EQ(ChavesNoArquivo(a), 3);
  EXPECT_EQ(TavMotorVerificar(nome.c_str()), 0);
}

// A transaction writes through one open: a write to a second file, or through a second open
// of the same file, answers 40 and changes nothing; the first file commits at the end.
TEST_F(ChamadasHostis, TransacaoEscreveNumArquivoSo) {
  Criar(5);
  const std::string outroNome = pasta.Arquivo("OUTRO.DAT");
  ASSERT_EQ(ArquivoTeste::Criar(outroNome, Especificacao(kReg, 1024, 1, {{1, 10, 0}})), 0);
  ArquivoTeste b;
  ASSERT_EQ(b.Abrir(outroNome), 0);
  ASSERT_EQ(Transacao(19), 0);
  EXPECT_EQ(a.Inserir(Reg(3)), 5);  // a failed first write leaves the transaction to any file
  ASSERT_EQ(b.Inserir(Reg(100)), 0);
  EXPECT_EQ(a.Inserir(Reg(101)), 40);
  ASSERT_EQ(a.Ler(5, Campo("K2", 10)), 0);  // reads are fine
  EXPECT_EQ(a.Excluir(), 40);
  ASSERT_EQ(Transacao(20), 0);
  EXPECT_EQ(b.Ler(5, Campo("K100", 10)), 0);
  EXPECT_EQ(a.Ler(5, Campo("K101", 10)), 4);
  ASSERT_EQ(Transacao(19), 0);  // the next transaction may pick the other file
  ASSERT_EQ(a.Inserir(Reg(102)), 0);
  EXPECT_EQ(b.Inserir(Reg(103)), 40);
  ASSERT_EQ(Transacao(21), 0);
  EXPECT_EQ(a.Ler(5, Campo("K102", 10)), 4);
}

#ifndef _WIN32
// ---- between processes ------------------------------------------------------------------------

// The record another open updates inside a transaction is locked until its end: a locking
// read answers 84 meanwhile, and afterwards reads the new image and updates it.
TEST_F(ChamadasHostis, QuemTemOBloqueioAtualizaEOutroRecebe84) {
  Criar(20);
  OutroProcesso outro([&](int pedido) {
    static ArquivoTeste c;
    if (pedido == 0) {
      if (c.Abrir(nome) != 0 || c.Chamar(19) != 0 || c.Ler(5, Campo("K10", 10)) != 0) return 1;
      return c.Alterar(Reg(10, 1, "do outro"));
    }
    return c.Chamar(20);
  });
  ASSERT_EQ(outro.Pedir(0), 0);
  EXPECT_EQ(a.Ler(5 + 200, Campo("K10", 10)), 84);
  ASSERT_EQ(outro.Pedir(1), 0);
  ASSERT_EQ(a.Ler(5 + 200, Campo("K10", 10)), 0);
  EXPECT_EQ(a.Registro(kReg), Reg(10, 1, "do outro"));
  EXPECT_EQ(a.Alterar(Reg(10, 2, "do dono")), 0);
}

// Two processes update one record as fast as they can, one always holding the record lock
// it read with: it never gets 80; the other gets 0, 80 or 84.
TEST_F(ChamadasHostis, DonoDoBloqueioNuncaRecebe80SobDisputa) {
  Criar(5);
  const int outro = Filho([&] {
    ArquivoTeste c;
    if (c.Abrir(nome) != 0) return 1;
    for (int i = 0; i < 1500; ++i) {
      const int lido = c.Ler(5, Campo("K3", 10));
      const int st = lido == 0 ? c.Alterar(Reg(3, i % 5, Rotulo("outro ", i))) : lido;
      if (st != 0 && st != 80 && st != 84) return 2;
    }
    return 0;
  });
  for (int i = 0; i < 1500; ++i) {
    const int lido = a.Ler(5 + 200, Campo("K3", 10));
    if (lido == 84) continue;
    ASSERT_EQ(lido, 0);
    ASSERT_EQ(a.Alterar(Reg(3, i % 5, Rotulo("dono ", i))), 0) << "the lock holder's update, round " << i;
  }
  EXPECT_EQ(Esperar(outro), 0);
  EXPECT_EQ(TavMotorVerificar(nome.c_str()), 0);
}

#ifdef __linux__
// Step (33, 24, 35) and Get Direct (23) with bias 100 or 300 wait for a record another open
// holds, as Get operations do; without a wait bias they answer 84 at once.
TEST_F(ChamadasHostis, VieseDeEsperaEsperaNoPassoENaLeituraDireta) {
  Criar(3);
  ASSERT_EQ(a.Ler(12), 0);
  const std::uint32_t primeiro = Posicao(a);
  OutroProcesso outro([&](int op) {
    ArquivoTeste c;
    if (c.Abrir(nome) != 0) return 1;
    int st = 2;
    if (op % 100 == 23) st = LerDireto(c, primeiro, 0, op - 23);
    else if (op % 100 == 33) st = c.Chamar(op);
    else if (c.Chamar(34) == 0 && c.Chamar(35) == 0) st = c.Chamar(op);  // from the second record, back
    c.Fechar();
    return st;
  });
  for (int op : {133, 333, 123, 135}) {
    ASSERT_EQ(a.Ler(12 + 200), 0) << op;  // holds the first record
    ASSERT_EQ(outro.Pedir(op - 100 + 200), 84) << op;  // no wait: 84 at once
    outro.Enviar(op);
    while (!outro.Respondeu() && !outro.Esperando()) sched_yield();
    ASSERT_EQ(a.Chamar(27), 0);  // unlock
    EXPECT_EQ(outro.Resposta(), 0) << op;
  }
}
#endif

// A file the user may only read opens in read-only mode and verifies; a recovery it needs is
// refused with 46 until someone who may write opens it.
TEST_F(ChamadasHostis, ArquivoSomenteLeituraAbreParaLeituraEVerifica) {
  Criar(200);
  ASSERT_EQ(a.Fechar(), 0);
  auto comoLeitor = [&](const std::function<int()>& f) {
    return Esperar(Filho([&] {
      if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) return 99;
      return f();
    }));
  };
  auto permissao = [&](std::filesystem::perms p) { std::filesystem::permissions(nome, p); };
  const auto leitura = std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                       std::filesystem::perms::others_read;
  permissao(leitura);
  EXPECT_EQ(comoLeitor([&] {
              ArquivoTeste b, c;
              if (b.Abrir(nome, -2) != 0) return 1;
              if (b.Ler(12) != 0 || b.Inserir(Reg(500)) != 46) return 2;
              if (c.Abrir(nome, 0) != 46) return 3;
              return TavMotorVerificar(nome.c_str());
            }),
            0);
  // A writer dies in the middle of its commit's in-place writes (the third write).
  permissao(leitura | std::filesystem::perms::owner_write);
  ASSERT_EQ(Esperar(Filho([&] {
              ArquivoTeste c;
              if (c.Abrir(nome) != 0) return 1;
              motor::FalharAposGravacoes(3);
              return c.Inserir(Reg(501));
            })),
            100 + SIGKILL);
  permissao(leitura);
  EXPECT_EQ(comoLeitor([&] {
              ArquivoTeste b;
              return b.Abrir(nome, -2) * 1000 + TavMotorVerificar(nome.c_str()) == 46 * 1000 + 46 ? 0 : 1;
            }),
            0);
  permissao(leitura | std::filesystem::perms::owner_write);
  ASSERT_EQ(a.Abrir(nome), 0);  // recovers
  ASSERT_EQ(a.Fechar(), 0);
  permissao(leitura);
  EXPECT_EQ(comoLeitor([&] {
              ArquivoTeste b;
              return b.Abrir(nome, -2) == 0 && b.Ler(12) == 0 ? TavMotorVerificar(nome.c_str()) : 1;
            }),
            0);
}
#endif

}  // namespace
}  // namespace tavoran::testes
