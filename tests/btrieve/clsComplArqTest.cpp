#include "btrieve/clsComplArq.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/fakes/BtrieveFalso.h"
#include "tests/fakes/Falsos.h"

namespace tavoran {
namespace {

struct Evento {
  std::int32_t numero;
  std::string descricao;
};

class Complementos : public ::testing::Test {
 protected:
  Complementos() {
    arquivos.CriarArquivo("P:\\A.BTR");
    complementos.OnErro = [this](std::int32_t n, const std::string& d) { eventos.push_back({n, d}); };
  }
  testes::ArquivosFalsos arquivos;
  testes::BtrieveFalso btrieve;
  clsTavBtr20 acesso{btrieve, arquivos};
  clsComplArq complementos;
  std::vector<Evento> eventos;
};

TEST_F(Complementos, GettersWithoutAnInstanceRaiseTheirOwnCodes) {
  EXPECT_EQ(complementos.QuantidadeRegistros(), -1);
  EXPECT_EQ(complementos.TamanhoBuffer(), -1);
  EXPECT_EQ(complementos.QuantidadeChaves(), clsComplArq::kByteInvalido);
  EXPECT_EQ(complementos.TamanhoChave(0), -1);
  EXPECT_EQ(complementos.QuantidadeSegmentos(0), clsComplArq::kByteInvalido);
  ASSERT_EQ(eventos.size(), 5u);
  const std::vector<std::int32_t> codigos = {100085, 100086, 100084, 100083, 100082};
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(eventos[i].numero, codigos[i]);
    EXPECT_EQ(eventos[i].descricao, "Falta instância da TavBtr20");
  }
  EXPECT_FALSE(complementos.IniciarTransacao(0));
  EXPECT_FALSE(complementos.ArquivoAberto());
}

TEST_F(Complementos, AccessObjectFailuresBecomeEventsAndMinusOne) {
  complementos.TavBtr20(&acesso);
  ASSERT_TRUE(acesso.Abrir("P:\\A.BTR"));
  std::string e(1920, '\0');
  e[0] = 0x00, e[1] = 0x01, e[4] = 1, e[6] = 7;
  e[20] = 0x00, e[21] = 0x01;  // one segment closing key 0
  e[16] = 1, e[18] = 30;
  btrieve.dadosResposta = e;
  EXPECT_EQ(complementos.QuantidadeRegistros(), 7);
  EXPECT_EQ(complementos.TamanhoBuffer(), 256);
  EXPECT_EQ(complementos.TamanhoChave(0), 30);
  EXPECT_TRUE(eventos.empty());
  EXPECT_EQ(complementos.TamanhoChave(1), -1);
  ASSERT_EQ(eventos.size(), 1u);
  EXPECT_EQ(eventos[0].numero, 100077);
  EXPECT_EQ(eventos[0].descricao, "Número da chave inválido.");
}

TEST_F(Complementos, OnlyTransactionStartAndEndRaiseTheirOwnEvent) {
  complementos.TavBtr20(&acesso);
  btrieve.status = {39, 39, 37};
  EXPECT_FALSE(complementos.AbortarTransacao());
  EXPECT_TRUE(eventos.empty());
  EXPECT_FALSE(complementos.FinalizarTransacao());
  ASSERT_EQ(eventos.size(), 1u);
  EXPECT_EQ(eventos[0].numero, 39);
  EXPECT_FALSE(complementos.IniciarTransacao(0));
  EXPECT_EQ(eventos.back().numero, 37);
  EXPECT_EQ(eventos.back().descricao, "Uma outra transação está ativa.");
}

}  // namespace
}  // namespace tavoran
