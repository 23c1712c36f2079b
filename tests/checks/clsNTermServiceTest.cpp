#include "checks/clsNTermService.h"

#include <gtest/gtest.h>

#include "tests/fakes/Falsos.h"
#include "tests/fakes/FalsosRede.h"

namespace tavoran {
namespace {

struct TermServiceTest : ::testing::Test {
  testes::AmbienteFalso falso;
  testes::FalsosRede rede{falso.ambiente};
  clsNTermService ts{falso.ambiente};
};

TEST_F(TermServiceTest, ConsoleSessionHasNoClientAndIsNoTerminalSession) {
  EXPECT_EQ(ts.NomeMaquinaCliente(), "");
  EXPECT_FALSE(ts.UtilizandoTerminalService());
  EXPECT_EQ(ts.ErroNumero(), 0);
}

TEST_F(TermServiceTest, RemoteSessionGivesTheClientComputer) {
  rede.sessaoTerminal->nomeCliente = "STATION07";
  EXPECT_EQ(ts.NomeMaquinaCliente(), "STATION07");
  EXPECT_TRUE(ts.UtilizandoTerminalService());
}

TEST_F(TermServiceTest, EveryReadAsksWindowsAgain) {
  rede.sessaoTerminal->nomeCliente = "STATION07";
  EXPECT_TRUE(ts.UtilizandoTerminalService());
  rede.sessaoTerminal->nomeCliente = "";
  EXPECT_FALSE(ts.UtilizandoTerminalService());
  EXPECT_EQ(ts.NomeMaquinaCliente(), "");
  EXPECT_EQ(rede.sessaoTerminal->consultas, 3);
}

TEST_F(TermServiceTest, FailedQueryOnAFreshObjectSetsTheErrorAndLeavesTheFlagFalse) {
  rede.sessaoTerminal->sucesso = false;
  EXPECT_FALSE(ts.UtilizandoTerminalService());
  EXPECT_EQ(ts.ErroNumero(), 100045);
  EXPECT_EQ(ts.ErroDescricao(), "Erro na seleção do RDP. Nenhuma informação foi colhida.");
}

TEST_F(TermServiceTest, FailedQueryKeepsTheLastAnswerAndASuccessClearsTheError) {
  rede.sessaoTerminal->nomeCliente = "STATION07";
  EXPECT_TRUE(ts.UtilizandoTerminalService());
  rede.sessaoTerminal->sucesso = false;
  EXPECT_EQ(ts.NomeMaquinaCliente(), "STATION07");
  EXPECT_EQ(ts.ErroNumero(), 100045);
  rede.sessaoTerminal->sucesso = true;
  rede.sessaoTerminal->nomeCliente = "";
  EXPECT_FALSE(ts.UtilizandoTerminalService());
  EXPECT_EQ(ts.ErroNumero(), 0);
}

TEST(TermServiceSemFacilidade, EnvironmentWithoutTheFacilityFailsLikeTheQuery) {
  testes::AmbienteFalso falso;
  falso.ambiente.sessaoTerminal.reset();
  clsNTermService ts{falso.ambiente};
  EXPECT_FALSE(ts.UtilizandoTerminalService());
  EXPECT_EQ(ts.ErroNumero(), 100045);
}

}  // namespace
}  // namespace tavoran
