#include "records/clsRyxMaqBloqueio.h"

#include <gtest/gtest.h>

#include "tests/fakes/Falsos.h"
#include "tests/fakes/MotorBtrieveFalso.h"

namespace tavoran {
namespace {

class ArquivoBloqueio : public ::testing::Test {
 protected:
  ArquivoBloqueio() {
    arquivos.CriarPastas("P:\\SUITE");
    motor.espelho = &arquivos;
  }
  std::unique_ptr<clsRyxMaqBloqueio> Bloqueio(const std::string& maquina) {
    auto b = std::make_unique<clsRyxMaqBloqueio>(motor, arquivos);
    b->Diretorio("P:\\SUITE");
    b->MaquinaNome(maquina);
    return b;
  }
  testes::ArquivosFalsos arquivos;
  testes::MotorBtrieveFalso motor;
};

TEST_F(ArquivoBloqueio, NameIsRyxUpperCaseMachineAndBlq) {
  EXPECT_EQ(Bloqueio("ws07")->Arquivo(), "P:\\SUITE\\RYXWS07.BLQ");
  EXPECT_EQ(Bloqueio("Ws07")->Arquivo(), Bloqueio("WS07")->Arquivo());
  clsRyxMaqBloqueio b(motor, arquivos);
  b.MaquinaNome("ws07");
  EXPECT_EQ(b.Arquivo(), "\\RYXWS07.BLQ");
  b.Diretorio("Q:");
  EXPECT_EQ(b.Arquivo(), "Q:\\RYXWS07.BLQ");
}

TEST_F(ArquivoBloqueio, OpeningAMissingFileFailsAndNeverCreatesIt) {
  auto b = Bloqueio("ws07");
  EXPECT_FALSE(b->Abrir(-4, ""));
  EXPECT_EQ(b->ErroNumero(), 106517);
  EXPECT_EQ(b->ErroDescricao(), "O arquivo \"P:\\SUITE\\RYXWS07.BLQ\" não existe.");
  EXPECT_FALSE(b->ArquivoExiste());
  EXPECT_TRUE(motor.arquivos.empty());
  clsRyxMaqBloqueio vazio(motor, arquivos);
  EXPECT_FALSE(vazio.Criar());
  EXPECT_EQ(vazio.ErroNumero(), 106515);
  EXPECT_FALSE(vazio.Abrir(0, ""));
  EXPECT_EQ(vazio.ErroNumero(), 106516);
}

TEST_F(ArquivoBloqueio, ExclusiveHolderKeepsEveryOtherOpenOutUntilReleased) {
  auto dono = Bloqueio("ws07");
  ASSERT_TRUE(dono->Criar()) << dono->ErroDescricao();
  const auto& f = motor.arquivos.at("P:\\SUITE\\RYXWS07.BLQ");
  EXPECT_EQ(f.tamanhoRegistro, 512u);
  EXPECT_EQ(f.tamanhoPagina, 1024);
  ASSERT_TRUE(dono->Abrir(-4, ""));
  auto outro = Bloqueio("WS07");
  EXPECT_FALSE(outro->Abrir(0, ""));
  EXPECT_EQ(outro->ErroNumero(), 88);
  EXPECT_FALSE(outro->Abrir(-4, ""));
  EXPECT_EQ(outro->ErroNumero(), 88);
  dono.reset();  // releasing the object closes the file
  EXPECT_TRUE(outro->Abrir(0, "")) << outro->ErroDescricao();
  EXPECT_EQ(outro->ErroNumero(), 0);
  EXPECT_TRUE(outro->Fechar());
  EXPECT_FALSE(motor.Aberto("P:\\SUITE\\RYXWS07.BLQ"));
}

}  // namespace
}  // namespace tavoran
