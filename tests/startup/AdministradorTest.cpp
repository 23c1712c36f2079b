// Administrator rights for the update, through whole runs of the program on a workstation of
// fakes that needs an update: an instance that is not elevated hands the update to the
// elevation launcher and stops; one that cannot be elevated says so with the help article.
#include <gtest/gtest.h>

#include <string>

#include "startup/mdlInicial.h"
#include "platform/Texto.h"
#include "tests/startup/Cenario.h"

namespace tavoran::testes {
namespace {

constexpr const char* kLancador = "P:\\Tavoran.win\\Zqb.Admin.exe ";
constexpr const char* kAjudaAdministrador = "https://ajuda.tavoran.com.br/artigos/C16";
const std::string kComoAdministrador =
    "Os componentes desta máquina estão pendentes de atualização.\r\nPara execução deste procedimento será "
    "necessário executar o sistema como administrador.\r\n";
const std::string kAoClicar = "\r\nAo clicar em OK será exibido o procedimento para solução desta situação.";

class Administrador : public ::testing::Test {
 protected:
  void SetUp() override {
    InstalarSuite(f);
    f.sistema->pastaPrograma = "C:\\Program Files\\Tavoran";
    f.seguranca->elevado = false;
    f.arquivos->CriarArquivo("P:\\Tavoran.win\\TvGeral\\Arquivos\\Dados_Padrao_Tavoran.config",
                             std::string("<Dados><Item id=\"C16\" value=\"") + kAjudaAdministrador + "\"/></Dados>");
    Net35(1);
    // A resident program that an update would stop.
    f.processos->Adicionar("TAVMANAGER.EXE", "C:\\Tavoran\\TAVMANAGER.EXE");
  }
  void Net35(std::uint32_t instalado) {
    f.registro->DefinirDword("SOFTWARE\\Microsoft\\NET Framework Setup\\NDP\\v3.5", "Install", instalado);
  }
  // No update step after the check ran: nothing stopped, the manager not started, and the
  // lock file closed with the program's end (left for the elevated instance, which is not held
  // back by it).
  void EsperarAtualizacaoInterrompida() {
    EXPECT_TRUE(f.shell->iniciados.empty());
    EXPECT_FALSE(f.btrieve->Aberto("P:\\Tavoran.win\\RYXESTACAO01.BLQ"));
    EXPECT_TRUE(f.visao->fechada);
  }

  AmbienteFalso f;
};

// The update goes on in this instance: the resident service is stopped before the components
// and started again after them, and the manager starts at the end.
TEST_F(Administrador, AnElevatedRunUpdatesWithoutAnyBox) {
  f.seguranca->elevado = true;
  f.shell->aoIniciar = [this](const std::string& linha) {
    if (linha == "net stop TAVMANAGER") f.processos->Remover("TAVMANAGER.EXE");
    if (linha == "sc start TAVMANAGER") f.processos->Adicionar("TAVMANAGER.EXE");
  };
  Main(f.ambiente);
  EXPECT_TRUE(f.shell->executados.empty());
  EXPECT_TRUE(f.visao->caixas.empty());
  std::vector<std::string> linhas;
  for (const auto& i : f.shell->iniciados) linhas.push_back(i.linha);
  EXPECT_EQ(linhas, (std::vector<std::string>{"net stop TAVMANAGER", "sc start TAVMANAGER",
                                              "P:\\Tavoran.win\\KemCriaArq.exe 418207,C:\\Program Files\\Tavoran\\TAVORAN.EXE"}));
}

TEST_F(Administrador, AFirstRunThatIsNotElevatedStartsTheLauncherWithItsExactCommandLineAndStops) {
  Main(f.ambiente);
  ASSERT_EQ(f.shell->executados.size(), 1u);
  EXPECT_EQ(f.shell->executados[0].arquivo, kLancador);
  EXPECT_EQ(f.shell->executados[0].parametros, "C:\\Program Files\\Tavoran\\Tavoran.exe A ");
  EXPECT_EQ(f.shell->executados[0].estilo, EstiloJanela::NormalComFoco);
  EXPECT_TRUE(f.visao->caixas.empty());
  EsperarAtualizacaoInterrompida();
}

TEST_F(Administrador, ARefusedElevationIsToldAndTheUpdateStops) {
  f.shell->resultadoExecutar = 5;
  Main(f.ambiente);
  ASSERT_EQ(f.visao->caixas.size(), 1u);
  EXPECT_EQ(f.visao->caixas[0].texto,
            "Foi recusada a solicitação de execução do Tavoran como Administrador, não será possível prosseguir com "
            "a atualização do sistema e seus componentes");
  EXPECT_EQ(f.visao->caixas[0].titulo, "Atenção");
  EXPECT_EQ(f.visao->caixas[0].icone, IconeCaixa::Exclamacao);
  EsperarAtualizacaoInterrompida();
}

// The launcher missing from the main directory: the inconsistency report says so and opens.
TEST_F(Administrador, AMissingLauncherIsAnEntryOfTheReportThatOpens) {
  f.shell->resultadoExecutar = 2;
  Main(f.ambiente);
  EXPECT_TRUE(f.visao->caixas.empty());
  ASSERT_EQ(f.shell->abertos.size(), 1u);
  const std::string relatorio = DeCp1252(f.arquivos->Conteudo(f.shell->abertos[0].documento));
  EXPECT_NE(relatorio.find("Não foi possível executar o Tavoran como administrador: o programa "
                           "'P:\\Tavoran.win\\Zqb.Admin.exe' não pôde ser iniciado."),
            std::string::npos);
  EXPECT_NE(relatorio.find("53 - "), std::string::npos);
  EsperarAtualizacaoInterrompida();
}

TEST_F(Administrador, StartedWithAAndStillNotElevatedGivesUpWithTheHelpArticle) {
  f.sistema->linhaComando = "A";
  Main(f.ambiente);
  ASSERT_EQ(f.visao->caixas.size(), 1u);
  EXPECT_EQ(f.visao->caixas[0].texto, kComoAdministrador +
                                          "O Tavoran tentou forçar a execução como administrador, mas não "
                                          "conseguiu.\r\n" +
                                          kAoClicar);
  EXPECT_EQ(f.visao->caixas[0].titulo, "Tavoran - Atenção");
  EXPECT_EQ(f.visao->caixas[0].icone, IconeCaixa::Informacao);
  ASSERT_EQ(f.shell->abertos.size(), 1u);
  EXPECT_EQ(f.shell->abertos[0].documento, kAjudaAdministrador);
  EXPECT_TRUE(f.shell->executados.empty());
  EsperarAtualizacaoInterrompida();
}

// The framework's installer runs on while this instance stops with the procedure's article.
TEST_F(Administrador, AMissingFrameworkIsInstalledFirstAndTheLauncherWaitsForTheNextStart) {
  Net35(0);
  Main(f.ambiente);
  ASSERT_EQ(f.shell->executados.size(), 1u);
  EXPECT_EQ(f.shell->executados[0].arquivo, "P:\\Tavoran.win\\KORA\\Instaladores\\dotnetfx35.exe");
  EXPECT_EQ(f.shell->executados[0].parametros, "");
  ASSERT_EQ(f.visao->caixas.size(), 1u);
  EXPECT_EQ(f.visao->caixas[0].texto, kComoAdministrador + kAoClicar);
  ASSERT_EQ(f.shell->abertos.size(), 1u);
  EXPECT_EQ(f.shell->abertos[0].documento, kAjudaAdministrador);
  EsperarAtualizacaoInterrompida();
}

}  // namespace
}  // namespace tavoran::testes
