#include "checks/clsNVerificaPvsw.h"

#include <gtest/gtest.h>

#include "tests/fakes/Falsos.h"
#include "tests/fakes/FalsosRede.h"

namespace tavoran {
namespace {

struct VerificaPvswTest : ::testing::Test {
  testes::AmbienteFalso falso;
  clsNVerificaPvsw pvsw{falso.ambiente};
};

// ---- server of a path ---------------------------------------------------------------------

TEST_F(VerificaPvswTest, MappedDriveGivesTheServerOfItsShare) {
  falso.consultaUnidades->tipos['P'] = TipoUnidade::Remota;
  falso.consultaUnidades->compartilhamentos['P'] = "\\\\SRV01\\APL";
  std::string servidor;
  ASSERT_TRUE(pvsw.RetornarNomeServidor("p:\\Tavoran.win", servidor));
  EXPECT_EQ(servidor, "SRV01");
}

TEST_F(VerificaPvswTest, LocalDriveGivesThisComputersName) {
  falso.consultaUnidades->tipos['C'] = TipoUnidade::Fixa;
  falso.sistema->computador = "ESTACAO01";
  std::string servidor;
  ASSERT_TRUE(pvsw.RetornarNomeServidor("C:\\Tavoran.win", servidor));
  EXPECT_EQ(servidor, "ESTACAO01");
}

TEST_F(VerificaPvswTest, MissingDriveFailsWithoutAnErrorNumber) {
  std::string servidor = "antes";
  EXPECT_FALSE(pvsw.RetornarNomeServidor("Q:\\Tavoran.win", servidor));
  EXPECT_FALSE(pvsw.RetornarNomeServidor("", servidor));
  EXPECT_FALSE(pvsw.RetornarNomeServidor("1:\\x", servidor));
  EXPECT_EQ(pvsw.ErroNumero(), 0);
  EXPECT_EQ(servidor, "antes");
}

TEST_F(VerificaPvswTest, RemoteDriveWithoutAReadableShareGivesABlankServer) {
  falso.consultaUnidades->tipos['P'] = TipoUnidade::Remota;
  std::string servidor = "antes";
  ASSERT_TRUE(pvsw.RetornarNomeServidor("P:\\Tavoran.win", servidor));
  EXPECT_EQ(servidor, "");
  falso.consultaUnidades->compartilhamentos['P'] = "SRV";  // not a UNC name
  ASSERT_TRUE(pvsw.RetornarNomeServidor("P:\\Tavoran.win", servidor));
  EXPECT_EQ(servidor, "");
}

TEST_F(VerificaPvswTest, UncPathGivesItsOwnServer) {
  std::string servidor;
  ASSERT_TRUE(pvsw.RetornarNomeServidor("\\\\SRV02\\DADOS\\Tavoran.win", servidor));
  EXPECT_EQ(servidor, "SRV02");
}

TEST_F(VerificaPvswTest, EnvironmentWithoutDriveQueriesIsAnUnexpectedError) {
  falso.ambiente.consultaUnidades.reset();
  std::string servidor;
  EXPECT_FALSE(pvsw.RetornarNomeServidor("P:\\Tavoran.win", servidor));
  EXPECT_EQ(pvsw.ErroNumero(), 429);
  EXPECT_NE(pvsw.ErroDescricao().find("(Rotina: RetornarNomeServidor)"), std::string::npos);
}

// ---- names and addresses -------------------------------------------------------------------

TEST_F(VerificaPvswTest, AnAddressIsNotResolvedAndANameIs) {
  falso.rede->nomes["SRV01"] = {192, 168, 0, 10};
  std::string servidor = "192.168.0.10";
  ASSERT_TRUE(pvsw.TrocarNomePorIp(servidor));
  EXPECT_EQ(servidor, "192.168.0.10");
  EXPECT_TRUE(falso.rede->resolucoes.empty());

  servidor = "srv01";
  ASSERT_TRUE(pvsw.TrocarNomePorIp(servidor));
  EXPECT_EQ(servidor, "192.168.0.10");
}

TEST_F(VerificaPvswTest, OnlyPlainDottedAddressesSkipResolution) {
  for (const char* texto : {"192.168.0.010", "192.168.0. 1", "192.168.0", "1.2.3.4.5", "256.1.1.1", "1.2.3.256",
                            "255.255.255.255", "a.b.c.d", "1..2.3", "1.2.3.-1"}) {
    falso.rede->resolucoes.clear();
    std::string servidor = texto;
    ASSERT_TRUE(pvsw.TrocarNomePorIp(servidor));
    EXPECT_EQ(falso.rede->resolucoes.size(), 1u) << texto;
    EXPECT_EQ(servidor, texto) << "an unresolved name stays";
  }
  for (const char* texto : {"0.0.0.0", "10.0.0.1", "255.255.255.254"}) {
    falso.rede->resolucoes.clear();
    std::string servidor = texto;
    ASSERT_TRUE(pvsw.TrocarNomePorIp(servidor));
    EXPECT_TRUE(falso.rede->resolucoes.empty()) << texto;
  }
}

// ---- ping ----------------------------------------------------------------------------------

TEST_F(VerificaPvswTest, PingSendsOneEchoToTheResolvedAddress) {
  falso.rede->nomes["SRV01"] = {10, 0, 0, 5};
  falso.rede->respondemEco.insert("10.0.0.5");
  bool comunicacao = false;
  ASSERT_TRUE(pvsw.VerificarComunicacaoServidor("SRV01", comunicacao));
  EXPECT_TRUE(comunicacao);
  ASSERT_EQ(falso.rede->ecos.size(), 1u);
  EXPECT_EQ(falso.rede->ecos[0].endereco, "10.0.0.5");
  EXPECT_EQ(falso.rede->ecos[0].dados, std::string(32, 'A'));
  EXPECT_EQ(falso.rede->ecos[0].tempoDeVida, 255);
  EXPECT_EQ(falso.rede->ecos[0].tempoLimiteMs, 2000u);
  EXPECT_EQ(falso.rede->socketsAbertos, 0);
}

TEST_F(VerificaPvswTest, SilentServerIsUnreachable) {
  bool comunicacao = true;
  ASSERT_TRUE(pvsw.VerificarComunicacaoServidor("10.0.0.6", comunicacao));
  EXPECT_FALSE(comunicacao);
  EXPECT_EQ(falso.rede->socketsAbertos, 0);
}

TEST_F(VerificaPvswTest, UnresolvedNameIsUnreachableWithoutAnEcho) {
  bool comunicacao = true;
  ASSERT_TRUE(pvsw.VerificarComunicacaoServidor("NINGUEM", comunicacao));
  EXPECT_FALSE(comunicacao);
  EXPECT_TRUE(falso.rede->ecos.empty());
}

TEST_F(VerificaPvswTest, ZeroAddressIsUnreachableWithoutAnEcho) {
  bool comunicacao = true;
  ASSERT_TRUE(pvsw.VerificarComunicacaoServidor("0.0.0.0", comunicacao));
  EXPECT_FALSE(comunicacao);
  EXPECT_TRUE(falso.rede->ecos.empty());
}

TEST_F(VerificaPvswTest, WinsockThatDoesNotStartFailsTheCheck) {
  falso.rede->falhaSockets = true;
  bool comunicacao = true;
  EXPECT_FALSE(pvsw.VerificarComunicacaoServidor("10.0.0.5", comunicacao));
  EXPECT_FALSE(comunicacao);
  EXPECT_TRUE(falso.rede->ecos.empty());
}

// ---- engine ports --------------------------------------------------------------------------

TEST_F(VerificaPvswTest, PortsAreTriedInOrderEachWithABoundedAttempt) {
  falso.rede->portasAbertas["SRV01"] = {3351, 1583};
  std::string falhas = "antes";
  ASSERT_TRUE(pvsw.VerificarPortasPervasive("SRV01", falhas));
  EXPECT_EQ(falhas, "");
  ASSERT_EQ(falso.rede->conexoes.size(), 2u);
  EXPECT_EQ(falso.rede->conexoes[0].porta, 3351);
  EXPECT_EQ(falso.rede->conexoes[1].porta, 1583);
  for (const auto& c : falso.rede->conexoes) {
    EXPECT_EQ(c.servidor, "SRV01");
    EXPECT_GT(c.tempoLimiteMs, 0u);
    EXPECT_LE(c.tempoLimiteMs, 5000u);
  }
  EXPECT_EQ(falso.visao->eventosProcessados, 2) << "the window keeps answering while a port is tried";
}

TEST_F(VerificaPvswTest, OnlyTheClosedPortIsReported) {
  falso.rede->portasAbertas["SRV01"] = {3351};
  std::string falhas;
  ASSERT_TRUE(pvsw.VerificarPortasPervasive("SRV01", falhas));
  EXPECT_EQ(falhas, "1583");
  falso.rede->portasAbertas["SRV01"] = {1583};
  ASSERT_TRUE(pvsw.VerificarPortasPervasive("SRV01", falhas));
  EXPECT_EQ(falhas, "3351");
}

TEST_F(VerificaPvswTest, BothPortsClosedAreListedWithACommaAndABlank) {
  std::string falhas;
  ASSERT_TRUE(pvsw.VerificarPortasPervasive("SRV01", falhas));
  EXPECT_EQ(falhas, "3351, 1583");
}

TEST_F(VerificaPvswTest, WithoutANetworkFacilityThePortTestFails) {
  falso.ambiente.rede.reset();
  std::string falhas;
  EXPECT_FALSE(pvsw.VerificarPortasPervasive("SRV01", falhas));
}

}  // namespace
}  // namespace tavoran
