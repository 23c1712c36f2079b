// The diagnosis of an engine that cannot be reached: one entry whose key selects the article.
#include <gtest/gtest.h>

#include "platform/Texto.h"
#include "tests/fakes/FalsosRede.h"
#include "tests/startup/Cenario.h"

namespace tavoran::testes {
namespace {

class Diagnostico : public ::testing::Test {
 protected:
  void SetUp() override {
    c.f.consultaUnidades->tipos['P'] = TipoUnidade::Remota;
    c.f.consultaUnidades->compartilhamentos['P'] = "\\\\SERVIDOR\\Dados";
    c.f.rede->nomes["SERVIDOR"] = {127, 0, 0, 2};
    c.f.rede->respondemEco.insert("127.0.0.2");
    c.f.rede->portasAbertas["SERVIDOR"] = {3351, 1583};
    ASSERT_TRUE(c.Inicializar());
    c.links.Definir("C10", "https://ajuda/rede");
    c.links.Definir("C11", "https://ajuda/porta");
  }
  std::string Relatorio() {
    c.logErr->FecharLog();
    return DeCp1252(c.f.arquivos->Conteudo(c.RelatorioInconsistencia()));
  }
  Cenario c;
};

TEST_F(Diagnostico, ClosedPortIsNamedAloneWithThePortKey) {
  c.f.rede->portasAbertas["SERVIDOR"] = {3351};
  c.janela->VerificarPvsw(3012, "Erro 3012");
  EXPECT_EQ(c.logErr->LogsGravados(), 1);
  const std::string html = Relatorio();
  EXPECT_NE(html.find("Falha ao conectar com as portas do banco de dados no servidor."), std::string::npos);
  EXPECT_NE(html.find("3012 - Falha ao se conectar com a(s) porta(s): 1583.</td>"), std::string::npos);
  EXPECT_NE(html.find("https://ajuda/porta"), std::string::npos);
  EXPECT_EQ(c.f.visao->textos.back(), "");
}

TEST_F(Diagnostico, SilentServerIsANetworkFailureAndItsPortsAreNotTried) {
  c.f.rede->respondemEco.clear();
  c.janela->VerificarPvsw(3012, "Erro 3012");
  EXPECT_TRUE(c.f.rede->conexoes.empty());
  const std::string html = Relatorio();
  EXPECT_NE(html.find("Existe uma falha de comunicação de rede com o seu servidor."), std::string::npos);
  EXPECT_NE(html.find("3012 - Falha ao se conectar com o servidor: SERVIDOR.</td>"), std::string::npos);
  EXPECT_NE(html.find("https://ajuda/rede"), std::string::npos);
}

TEST_F(Diagnostico, EverythingAnsweringGetsNoLink) {
  c.janela->VerificarPvsw(3103, "Erro 3103");
  const std::string html = Relatorio();
  EXPECT_NE(html.find("A comunicação com o servidor e as portas do banco de dados foi realizada com sucesso, mas "
                      "não foi possível iniciar o sistema."),
            std::string::npos);
  EXPECT_NE(html.find("Acesse a Central Online"), std::string::npos);
  EXPECT_EQ(html.find("Clique Aqui"), std::string::npos);
}

TEST_F(Diagnostico, LocalDrivePingsThisComputer) {
  c.f.consultaUnidades->tipos['P'] = TipoUnidade::Fixa;
  c.f.rede->nomes["ESTACAO01"] = {127, 0, 0, 1};
  c.f.rede->respondemEco.insert("127.0.0.1");
  c.f.rede->portasAbertas["ESTACAO01"] = {3351, 1583};
  c.janela->VerificarPvsw(3012, "Erro 3012");
  ASSERT_FALSE(c.f.rede->resolucoes.empty());
  EXPECT_EQ(Maiusculas(c.f.rede->resolucoes[0]), "ESTACAO01");
  ASSERT_EQ(c.f.rede->conexoes.size(), 2u);
  EXPECT_EQ(c.f.rede->conexoes[0].porta, 3351);
  EXPECT_EQ(c.f.rede->conexoes[1].porta, 1583);
}

TEST_F(Diagnostico, UnknownServerAddressIsRecordedWithoutLink) {
  c.f.consultaUnidades->compartilhamentos.erase('P');
  c.janela->VerificarPvsw(3012, "Erro 3012");
  EXPECT_NE(Relatorio().find("Não foi possível iniciar o sistema e nem determinar o endereço do servidor para "
                             "verificação."),
            std::string::npos);
}

TEST_F(Diagnostico, AFailingCheckShowsTheGenericBoxAndWritesNothing) {
  c.f.consultaUnidades->tipos.erase('P');
  c.janela->VerificarPvsw(3012, "Erro 3012");
  EXPECT_EQ(c.logErr->LogsGravados(), 0);
  ASSERT_EQ(c.f.visao->caixas.size(), 1u);
  EXPECT_NE(c.f.visao->caixas[0].texto.find("rotina VerificarPvsw"), std::string::npos);
}

}  // namespace
}  // namespace tavoran::testes
