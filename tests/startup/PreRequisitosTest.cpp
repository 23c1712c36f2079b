// Other vendors' installers run from the shared tree, the virtual printer and its bounded
// wait, and a terminal server's install mode around the update.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Texto.h"
#include "tests/startup/Cenario.h"

namespace tavoran::testes {
namespace {

constexpr const char* kInstaladores = "P:\\Tavoran.win\\KORA\\Instaladores\\";
constexpr const char* kImpressora = "P:\\Tavoran.win\\kora\\instaladores\\Impressora Virtual.exe";

class PreRequisitos : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(c.Inicializar()); }
  void Instalador(const std::string& nome) { c.f.arquivos->CriarArquivo(kInstaladores + nome, "MZ"); }
  // The 32-bit system folder of a 32-bit Windows.
  void Windows32() {
    c.f.pastasEspeciais->caminhos[41] = "C:\\Windows\\System32";
    c.f.arquivos->CriarPastas("C:\\Windows\\System32");
  }
  std::vector<std::string> Iniciados() const {
    std::vector<std::string> linhas;
    for (const auto& i : c.f.shell->iniciados) linhas.push_back(i.linha);
    return linhas;
  }
  Cenario c;
};

// Each installer is awaited; the runtimes get their switches on the command line, the
// package its parameters through the shell; what is missing is skipped.
TEST_F(PreRequisitos, InstallersThatExistRunInOrderAndAreAwaited) {
  Instalador("vcredist_x86_2013.exe");
  Instalador("sqlncli32.msi");
  Instalador("sqlncli64.msi");
  int verificacoes = 0;
  c.f.shell->duracao = [&](const std::string&) { return 3; };
  c.f.visao->aoProcessarEventos = [&] { ++verificacoes; };

  EXPECT_TRUE(c.janela->InstalarCPlusPlusRedistributables());
  EXPECT_TRUE(c.janela->InstalarSqlNativeClient());

  ASSERT_EQ(c.f.shell->iniciados.size(), 1u);
  EXPECT_EQ(c.f.shell->iniciados[0].linha, "P:\\Tavoran.win\\kora\\instaladores\\vcredist_x86_2013.exe /q /norestart");
  EXPECT_EQ(c.f.shell->iniciados[0].estilo, EstiloJanela::Oculta);
  ASSERT_EQ(c.f.shell->executados.size(), 1u);
  EXPECT_EQ(c.f.shell->executados[0].arquivo, "P:\\Tavoran.win\\Kora\\Instaladores\\sqlncli64.msi");
  EXPECT_EQ(c.f.shell->executados[0].parametros, "/qn IACCEPTSQLNCLILICENSETERMS=YES");
  EXPECT_GE(verificacoes, 6);  // both waited while their processes ran
  EXPECT_TRUE(c.f.visao->caixas.empty());
}

TEST_F(PreRequisitos, The32BitPackageIsChosenByTheSystemFolderAndAMissingOneIsSkipped) {
  Instalador("sqlncli32.msi");
  EXPECT_TRUE(c.janela->InstalarSqlNativeClient());  // 64-bit Windows, its package missing
  EXPECT_TRUE(c.f.shell->executados.empty());
  Windows32();
  EXPECT_TRUE(c.janela->InstalarSqlNativeClient());
  ASSERT_EQ(c.f.shell->executados.size(), 1u);
  EXPECT_EQ(c.f.shell->executados[0].arquivo, "P:\\Tavoran.win\\Kora\\Instaladores\\sqlncli32.msi");
}

// ---- the virtual printer ---------------------------------------------------------------------

TEST_F(PreRequisitos, ARegisteredPrinterIsNotInstalledAgainOnEitherSystem) {
  Instalador("Impressora Virtual.exe");
  c.f.registro->DefinirTexto("SOFTWARE\\Wow6432Node\\Tavoran Printer", "AppFileName", "C:\\Impressora\\imp.exe");
  EXPECT_TRUE(c.janela->InstalarImpressoraVirtual());
  Windows32();
  c.f.registro->DefinirTexto("SOFTWARE\\Tavoran Printer", "AppFileName", "C:\\Impressora\\imp.exe");
  EXPECT_TRUE(c.janela->InstalarImpressoraVirtual());
  EXPECT_TRUE(c.f.shell->iniciados.empty());
}

TEST_F(PreRequisitos, APrinterInstallerIsStartedHiddenAndAwaitedUntilItsProcessEnds) {
  Instalador("Impressora Virtual.exe");
  c.f.registro->DefinirTexto("SOFTWARE\\Wow6432Node\\Tavoran Printer", "AppFileName", "  ");
  int listagens = 0;
  c.f.shell->aoIniciar = [&](const std::string&) { c.f.processos->Adicionar("Impressora Virtual.exe"); };
  c.f.processos->aoListar = [&] {
    if (++listagens == 5) c.f.processos->Remover("Impressora Virtual.exe");
  };

  EXPECT_TRUE(c.janela->InstalarImpressoraVirtual());

  ASSERT_EQ(c.f.shell->iniciados.size(), 1u);
  EXPECT_EQ(c.f.shell->iniciados[0].linha, std::string("\"") + kImpressora + "\"");
  EXPECT_EQ(c.f.shell->iniciados[0].estilo, EstiloJanela::Oculta);
  EXPECT_EQ(listagens, 5);
  EXPECT_EQ(c.logErr->LogsGravados(), 0);
}

// An installer that outlives the bound ends the wait: the step fails with an entry that
// names it, and the update is not recorded.
TEST_F(PreRequisitos, APrinterInstallerThatNeverEndsStopsTheWaitWithAnEntry) {
  Instalador("Impressora Virtual.exe");
  c.f.processos->Adicionar("Impressora Virtual.exe");
  EXPECT_FALSE(c.janela->InstalarImpressoraVirtual());
  ASSERT_EQ(c.logErr->LogsGravados(), 1);
  c.logErr->FecharLog();
  const std::string relatorio = DeCp1252(c.f.arquivos->Conteudo(c.RelatorioInconsistencia()));
  EXPECT_NE(relatorio.find("Não foi possível concluir a instalação da Impressora Virtual."), std::string::npos);
  EXPECT_NE(relatorio.find(std::string("1460 - O instalador '") + kImpressora + "' não terminou em 2 minutos."),
            std::string::npos);
  EXPECT_TRUE(c.f.visao->caixas.empty());
}

// ---- a terminal server's install mode ------------------------------------------------------

TEST_F(PreRequisitos, AServerReachedThroughATerminalSessionIsInInstallModeUntilTheWindowCloses) {
  c.janela->SessaoTerminal(true);
  c.f.sistema->nomeSo = "Microsoft Windows Server 2019 Standard";
  EXPECT_TRUE(c.janela->ExecutarWindowsServerShellChangeUserInstall());
  ASSERT_EQ(Iniciados(), (std::vector<std::string>{"change user /install"}));
  EXPECT_EQ(c.f.shell->iniciados[0].estilo, EstiloJanela::Oculta);
  c.f.visao->Fechar();
  EXPECT_EQ(Iniciados(), (std::vector<std::string>{"change user /install", "change user /execute"}));
}

TEST_F(PreRequisitos, AClientEditionOrAConsoleSessionIssuesNoChangeUserCommand) {
  c.janela->SessaoTerminal(true);
  EXPECT_TRUE(c.janela->ExecutarWindowsServerShellChangeUserInstall());  // Windows 10 Pro
  c.janela->SessaoTerminal(false);
  c.f.sistema->nomeSo = "Microsoft Windows Server 2019 Standard";
  EXPECT_TRUE(c.janela->ExecutarWindowsServerShellChangeUserInstall());
  c.f.visao->Fechar();
  EXPECT_TRUE(c.f.shell->iniciados.empty());
}

TEST_F(PreRequisitos, ASystemNameThatCannotBeReadStopsTheUpdateWithItsBox) {
  c.janela->SessaoTerminal(true);
  c.f.sistema->falhaSo = true;
  EXPECT_FALSE(c.janela->ExecutarWindowsServerShellChangeUserInstall());
  ASSERT_EQ(c.f.visao->caixas.size(), 1u);
  const std::string& texto = c.f.visao->caixas[0].texto;
  EXPECT_EQ(texto.rfind("Falha imprevista na rotina ExecutarWindowsServerShellChangeUserInstall\r\n", 0), 0u);
  EXPECT_NE(texto.find("Descrição: Falha imprevista ao retornar nome do sistema operacional: "), std::string::npos);
  c.f.visao->Fechar();
  EXPECT_TRUE(c.f.shell->iniciados.empty());
}

}  // namespace
}  // namespace tavoran::testes
