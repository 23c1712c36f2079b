#include "checks/clsNTermService.h"

#include <gtest/gtest.h>

#include "tests/fakes/Falsos.h"
#include "tests/fakes/FalsosRede.h"

namespace tavoran {
namespace {

struct TermServiceTest : ::testing::Test {
  testes::AmbienteFalso falso;
  clsNTermService ts{falso.ambiente};
};

TEST_F(TermServiceTest, ConsoleSessionHasNoClientAndIsNoTerminalSession) {
  EXPECT_EQ(ts.NomeMaquinaCliente(), "");
  EXPECT_FALSE(ts.UtilizandoTerminalService());
  EXPECT_EQ(ts.ErroNumero(), 0);
}

TEST_F(TermServiceTest, RemoteSessionGivesTheClientComputer) {
  falso.sessaoTerminal->nomeCliente = "STATION07";
  EXPECT_EQ(ts.NomeMaquinaCliente(), "STATION07");
  EXPECT_TRUE(ts.UtilizandoTerminalService());
}

TEST_F(TermServiceTest, EveryReadAsksWindowsAgain) {
  falso.sessaoTerminal->nomeCliente = "STATION07";
  EXPECT_TRUE(ts.UtilizandoTerminalService());
  falso.sessaoTerminal->nomeCliente = "";
  EXPECT_FALSE(ts.UtilizandoTerminalService());
  EXPECT_EQ(ts.NomeMaquinaCliente(), "");
  EXPECT_EQ(falso.sessaoTerminal->consultas, 3);
}

TEST_F(TermServiceTest, FailedQueryOnAFreshObjectSetsTheErrorAndLeavesTheFlagFalse) {
  falso.sessaoTerminal->sucesso = false;
  EXPECT_FALSE(ts.UtilizandoTerminalService());
  EXPECT_EQ(ts.ErroNumero(), 100045);
  EXPECT_EQ(ts.ErroDescricao(), "Erro na seleção do RDP. Nenhuma informação foi colhida.");
}

TEST_F(TermServiceTest, FailedQueryKeepsTheLastAnswerAndASuccessClearsTheError) {
  falso.sessaoTerminal->nomeCliente = "STATION07";
  EXPECT_TRUE(ts.UtilizandoTerminalService());
  falso.sessaoTerminal->sucesso = false;
  EXPECT_EQ(ts.NomeMaquinaCliente(), "STATION07");
  EXPECT_EQ(ts.ErroNumero(), 100045);
  falso.sessaoTerminal->sucesso = true;
  falso.sessaoTerminal->nomeCliente = "";
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
