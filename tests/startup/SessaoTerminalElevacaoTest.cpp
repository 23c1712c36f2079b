// What the Wine workstation cannot show, through whole runs on a workstation of fakes that
// needs an update: terminal sessions (the application manager of another user, a server's
// install mode) and a process that is not elevated (the launcher and its refusals).
#include <gtest/gtest.h>

#include <string>

#include "platform/Texto.h"
#include "startup/mdlInicial.h"
#include "tests/fakes/FalsosRede.h"
#include "tests/startup/Cenario.h"

namespace tavoran::testes {
namespace {

constexpr const char* kAjudaAdministrador = "https://ajuda.tavoran.com.br/artigos/C16";

// A workstation without a status record, so that every run updates.
void PrepararEstacao(AmbienteFalso& f) {
  InstalarSuite(f);
  f.sistema->pastaPrograma = "C:\\Program Files\\Tavoran";
  f.arquivos->CriarArquivo("P:\\Tavoran.win\\TvGeral\\Arquivos\\Dados_Padrao_Tavoran.config",
                           std::string("<Dados><Item id=\"C16\" value=\"") + kAjudaAdministrador + "\"/></Dados>");
  f.registro->DefinirDword("SOFTWARE\\Microsoft\\NET Framework Setup\\NDP\\v3.5", "Install", 1);
}

std::vector<std::string> Iniciados(const AmbienteFalso& f) {
  std::vector<std::string> linhas;
  for (const auto& i : f.shell->iniciados) linhas.push_back(i.linha);
  return linhas;
}

const std::string kKemCriaArq = "P:\\Tavoran.win\\KemCriaArq.exe 418207,C:\\Program Files\\Tavoran\\TAVORAN.EXE";

class SessaoTerminalElevacao : public ::testing::Test {
 protected:
  void SetUp() override { PrepararEstacao(f); }
  // The update stopped at the check: nothing started or ended, only the expected boxes.
  void EsperarParada(std::size_t caixas) {
    EXPECT_TRUE(f.shell->iniciados.empty());
    EXPECT_TRUE(f.processos->terminados.empty());
    EXPECT_EQ(f.visao->caixas.size(), caixas);
    EXPECT_TRUE(f.visao->fechada);
  }

  AmbienteFalso f;
};

TEST_F(SessaoTerminalElevacao, AManagerInAnotherSessionRefusesTheUpdate) {
  f.processos->Adicionar("TAVORAN2.EXE", "P:\\Tavoran.win\\TAVORAN2.EXE", 2);
  Main(f.ambiente);
  ASSERT_EQ(f.visao->caixas.size(), 1u);
  EXPECT_EQ(f.visao->caixas[0].texto.rfind("Os componentes desta máquina estão pendentes de atualização.\r\n\r\n"
                                           "Portanto, não será possível realizar o procedimento",
                                           0),
            0u);
  EsperarParada(1);
}

// Nothing is ended before version 6, nor when this process's session cannot be read; a
// process whose path cannot be read is never taken for one of the suite's.
TEST(ProcessosDaSuite, OldSystemsUnreadableSessionsAndPathlessProcessesEndNothing) {
  const struct {
    std::string versao;
    bool sessaoLegivel;
    int terminados;
  } casos[] = {{"5.1.2600", true, 0}, {"10.0.19045", false, 0}, {"10.0.19045", true, 1}};
  for (const auto& caso : casos) {
    AmbienteFalso f;
    PrepararEstacao(f);
    const auto gerenciador = f.processos->Adicionar("TAVORAN2.EXE", "P:\\Tavoran.win\\TAVORAN2.EXE");
    f.processos->Adicionar("System", "");
    f.sistema->versaoSo = caso.versao;
    f.processos->falhaSessao = !caso.sessaoLegivel;
    Main(f.ambiente);
    const std::vector<std::uint32_t> esperados =
        caso.terminados == 1 ? std::vector<std::uint32_t>{gerenciador} : std::vector<std::uint32_t>{};
    EXPECT_EQ(f.processos->terminados, esperados) << caso.versao;
    EXPECT_TRUE(f.visao->caixas.empty());
  }
}

// A server reached through a terminal session is in install mode until the window closes; a
// client edition never is.
TEST(ModoInstalacao, OnlyAServerInATerminalSessionIsPutIntoInstallMode) {
  for (const std::string so : {"Microsoft Windows Server 2019 Standard", "Microsoft Windows 10 Pro"}) {
    AmbienteFalso f;
    PrepararEstacao(f);
    f.sessaoTerminal->nomeCliente = "ESTACAO07";
    f.sistema->nomeSo = so;
    Main(f.ambiente);
    if (so.find("Server") != std::string::npos)
      EXPECT_EQ(Iniciados(f), (std::vector<std::string>{"change user /install", kKemCriaArq, "change user /execute"}));
    else
      EXPECT_EQ(Iniciados(f), (std::vector<std::string>{kKemCriaArq}));
  }
}

TEST_F(SessaoTerminalElevacao, NotElevatedTheLauncherGetsItsExactCommandLineAndTheUpdateStops) {
  f.seguranca->elevado = false;
  f.processos->Adicionar("TAVMANAGER.EXE");
  Main(f.ambiente);
  ASSERT_EQ(f.shell->executados.size(), 1u);
  EXPECT_EQ(f.shell->executados[0].arquivo, "P:\\Tavoran.win\\Zqb.Admin.exe ");
  EXPECT_EQ(f.shell->executados[0].parametros, "C:\\Program Files\\Tavoran\\Tavoran.exe A ");
  EXPECT_EQ(f.shell->executados[0].estilo, EstiloJanela::NormalComFoco);
  EsperarParada(0);
}

TEST_F(SessaoTerminalElevacao, ARefusedElevationIsToldAndTheUpdateStops) {
  f.seguranca->elevado = false;
  f.shell->resultadoExecutar = 5;
  Main(f.ambiente);
  ASSERT_EQ(f.visao->caixas.size(), 1u);
  EXPECT_EQ(f.visao->caixas[0].texto,
            "Foi recusada a solicitação de execução do Tavoran como Administrador, não será possível prosseguir com "
            "a atualização do sistema e seus componentes");
  EXPECT_EQ(f.visao->caixas[0].titulo, "Atenção");
  EXPECT_EQ(f.visao->caixas[0].icone, IconeCaixa::Exclamacao);
  EsperarParada(1);
}

TEST_F(SessaoTerminalElevacao, AMissingLauncherIsAnEntryOfTheReportThatOpensAtTheEnd) {
  f.seguranca->elevado = false;
  f.shell->resultadoExecutar = 2;
  Main(f.ambiente);
  ASSERT_EQ(f.shell->abertos.size(), 1u);
  const std::string relatorio = DeCp1252(f.arquivos->Conteudo(f.shell->abertos[0].documento));
  EXPECT_NE(relatorio.find("Não foi possível executar o Tavoran como administrador: o programa "
                           "'P:\\Tavoran.win\\Zqb.Admin.exe' não pôde ser iniciado."),
            std::string::npos);
  EsperarParada(0);
}

TEST_F(SessaoTerminalElevacao, StartedWithAAndStillNotElevatedGivesUpWithTheHelpArticle) {
  f.seguranca->elevado = false;
  f.sistema->linhaComando = "A";
  Main(f.ambiente);
  ASSERT_EQ(f.visao->caixas.size(), 1u);
  EXPECT_EQ(f.visao->caixas[0].texto,
            "Os componentes desta máquina estão pendentes de atualização.\r\nPara execução deste procedimento será "
            "necessário executar o sistema como administrador.\r\nO Tavoran tentou forçar a execução como "
            "administrador, mas não conseguiu.\r\n\r\nAo clicar em OK será exibido o procedimento para solução "
            "desta situação.");
  EXPECT_EQ(f.visao->caixas[0].titulo, "Tavoran - Atenção");
  ASSERT_EQ(f.shell->abertos.size(), 1u);
  EXPECT_EQ(f.shell->abertos[0].documento, kAjudaAdministrador);
  EXPECT_TRUE(f.shell->executados.empty());
  EsperarParada(1);
}

}  // namespace
}  // namespace tavoran::testes
