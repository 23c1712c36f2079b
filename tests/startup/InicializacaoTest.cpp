// The start: Main, Inicializar, the report files, the refusals and the launch.
#include <gtest/gtest.h>

#include "startup/mdlInicial.h"
#include "tests/startup/Cenario.h"

namespace tavoran::testes {
namespace {

constexpr const char* kMarcador = "P:\\Tavoran.win\\Tavoran.bk";

TEST(Main, SecondCopyInTheSessionEndsSilently) {
  AmbienteFalso f;
  f.sistema->outraInstancia = true;
  EXPECT_EQ(Main(f.ambiente), 0);
  EXPECT_FALSE(f.visao->carregada);
  EXPECT_TRUE(f.visao->caixas.empty());
  EXPECT_TRUE(f.arquivos->pastas.empty());
}

TEST(Main, OnlyAnExactAInheritsAdministratorRights) {
  EXPECT_TRUE(ArgumentoAdministrador("A"));
  EXPECT_FALSE(ArgumentoAdministrador("a"));
  EXPECT_FALSE(ArgumentoAdministrador(" A"));
  EXPECT_FALSE(ArgumentoAdministrador("A B"));
  EXPECT_FALSE(ArgumentoAdministrador(""));
  EXPECT_FALSE(ArgumentoAdministrador("   "));
}

TEST(Main, AFullRunStartsTheManagerAndCloses) {
  AmbienteFalso f;
  InstalarSuite(f);
  f.sistema->pastaPrograma = "P:\\Tavoran.win";
  EXPECT_EQ(Main(f.ambiente), 0);
  EXPECT_TRUE(f.visao->mostrada);
  EXPECT_TRUE(f.visao->fechada);
  ASSERT_EQ(f.shell->iniciados.size(), 1u);
  EXPECT_EQ(f.shell->iniciados[0].linha, "P:\\Tavoran.win\\KemCriaArq.exe 418207,P:\\Tavoran.win\\TAVORAN.EXE");
  EXPECT_EQ(f.shell->iniciados[0].estilo, EstiloJanela::NormalComFoco);
  EXPECT_TRUE(f.arquivos->ExistePasta("P:\\Tavoran.win\\Logs\\RYX\\Erros"));
  EXPECT_TRUE(f.shell->abertos.empty());
}

TEST(Main, FailedPreparationUnloadsTheWindowWithoutShowingIt) {
  AmbienteFalso f;
  PrepararWindows(f);
  f.registro->DefinirTexto(kChaveDirT, "", kDirT);
  f.arquivos->CriarArquivo(kMarcador);
  f.arquivos->arquivos[ArquivosFalsos::Normalizar(kMarcador)].emUso = true;
  EXPECT_EQ(Main(f.ambiente), 0);
  EXPECT_FALSE(f.visao->mostrada);
  EXPECT_TRUE(f.visao->fechada);
  EXPECT_EQ(f.visao->caixas.size(), 1u);
  EXPECT_TRUE(f.shell->iniciados.empty());
}

// ---- report files ------------------------------------------------------------------------

TEST(ConfigurarLog, CreatesTheMissingFoldersOneLevelAtATimeAndNamesBothReports) {
  Cenario c;
  c.f.arquivos->CriarPastas("P:\\Tavoran.win\\Logs");
  ASSERT_TRUE(c.Inicializar());
  EXPECT_EQ(c.janela->Log()->Arquivo(), c.RelatorioAtualizacao());
  EXPECT_EQ(c.janela->LogErr()->Arquivo(), c.RelatorioInconsistencia());
  EXPECT_TRUE(c.f.arquivos->ExistePasta("P:\\Tavoran.win\\Logs\\RYX\\Erros"));
  EXPECT_FALSE(c.f.arquivos->ExisteArquivo(c.RelatorioInconsistencia()));  // only the first row creates it
}

TEST(ConfigurarLog, ReadOnlyShareFailsWithTheGenericBox) {
  Cenario c;
  c.f.arquivos->somenteLeitura.insert(ArquivosFalsos::Normalizar(kDirT));
  EXPECT_FALSE(c.Inicializar());
  ASSERT_EQ(c.f.visao->caixas.size(), 1u);
  EXPECT_EQ(c.f.visao->caixas[0].texto.rfind("Falha imprevista na rotina ConfigurarLogAtualizacaoComponentes\r\n", 0),
            0u);
}

TEST(ConfigurarLog, LostDriveIsMappedAgainFromTheRegisteredPath) {
  Cenario c;
  c.f.arquivos->pastas.clear();
  c.f.registro->DefinirTexto(kChaveDirT, "UNC", "\\\\SERVIDOR\\Dados\\TAVORAN.WIN");
  c.f.unidades->aoMapear = [&c](const std::string&, const std::string&) { c.f.arquivos->CriarPastas(kDirT); };
  ASSERT_TRUE(c.Inicializar());
  ASSERT_EQ(c.f.unidades->mapeamentos.size(), 1u);
  EXPECT_EQ(c.f.unidades->mapeamentos[0].remoto, "\\\\SERVIDOR\\Dados");
  EXPECT_EQ(c.f.unidades->mapeamentos[0].local, "P:");
}

TEST(ConfigurarLog, MainDirectoryThatCannotBeMappedIsReportedAsNotFound) {
  for (const char* unc : {"", "P:\\Tavoran.win", "\\\\SERVIDOR\\Dados"}) {
    Cenario c;
    c.f.arquivos->pastas.clear();
    c.f.registro->DefinirTexto(kChaveDirT, "UNC", unc);
    EXPECT_FALSE(c.Inicializar()) << unc;
    ASSERT_EQ(c.f.visao->caixas.size(), 1u) << unc;
    EXPECT_EQ(c.f.visao->caixas[0].titulo, "Acesso");
    EXPECT_EQ(c.f.visao->caixas[0].texto,
              "A pasta: P:\\Tavoran.win não foi encontrada.\r\nEntre em contato com seu administrador de rede "
              "para verificar se o mapeamento está correto.");
    EXPECT_TRUE(c.f.unidades->mapeamentos.empty());
  }
}

TEST(ApagarArquivosLog, KeepsTheFiveNewestReportsOfThisComputerOnly) {
  Cenario c;
  const std::string pasta = "P:\\Tavoran.win\\Logs\\RYX\\";
  for (int dia = 1; dia <= 7; ++dia) {
    const std::string carimbo = "2026-11-0" + std::to_string(dia) + "_10-00-00";
    c.f.arquivos->CriarArquivo(pasta + "ESTACAO01 (" + carimbo + ").HTML", "", dia == 2);
    c.f.arquivos->CriarArquivo(pasta + "ESTACAO02 (" + carimbo + ").HTML");
    c.f.arquivos->CriarArquivo(pasta + "Erros\\ESTACAO01 (" + carimbo + ").HTML");
  }
  ASSERT_TRUE(c.Inicializar());
  EXPECT_TRUE(c.janela->ApagarArquivosLog());
  EXPECT_FALSE(c.f.arquivos->ExisteArquivo(pasta + "ESTACAO01 (2026-11-01_10-00-00).HTML"));
  EXPECT_FALSE(c.f.arquivos->ExisteArquivo(pasta + "ESTACAO01 (2026-11-02_10-00-00).HTML"));
  for (int dia = 3; dia <= 7; ++dia)
    EXPECT_TRUE(c.f.arquivos->ExisteArquivo(pasta + "ESTACAO01 (2026-11-0" + std::to_string(dia) + "_10-00-00).HTML"));
  for (int dia = 1; dia <= 7; ++dia) {
    const std::string carimbo = "2026-11-0" + std::to_string(dia) + "_10-00-00";
    EXPECT_TRUE(c.f.arquivos->ExisteArquivo(pasta + "ESTACAO02 (" + carimbo + ").HTML"));
    EXPECT_TRUE(c.f.arquivos->ExisteArquivo(pasta + "Erros\\ESTACAO01 (" + carimbo + ").HTML"));
  }
}

TEST(ApagarArquivosLog, AReportThatCannotBeDeletedFailsTheCleanUp) {
  Cenario c;
  const std::string pasta = "P:\\Tavoran.win\\Logs\\RYX\\";
  for (int dia = 1; dia <= 6; ++dia)
    c.f.arquivos->CriarArquivo(pasta + "ESTACAO01 (2026-11-0" + std::to_string(dia) + "_10-00-00).HTML");
  c.f.arquivos->arquivos[ArquivosFalsos::Normalizar(pasta + "ESTACAO01 (2026-11-01_10-00-00).HTML")].emUso = true;
  ASSERT_TRUE(c.Inicializar());
  EXPECT_FALSE(c.janela->ApagarArquivosLog());
  ASSERT_EQ(c.f.visao->caixas.size(), 1u);
  EXPECT_NE(c.f.visao->caixas[0].texto.find("ApagarArquivosLog"), std::string::npos);
}

// ---- refusals ----------------------------------------------------------------------------

TEST(VerificarBackUpEmExecucao, StaleMarkerIsDeletedAndTheStartGoesOn) {
  Cenario c;
  c.f.arquivos->CriarArquivo(kMarcador, "", true);
  EXPECT_TRUE(c.Inicializar());
  EXPECT_FALSE(c.f.arquivos->ExisteArquivo(kMarcador));
  EXPECT_TRUE(c.f.visao->caixas.empty());
}

TEST(VerificarBackUpEmExecucao, HeldMarkerRefusesTheStart) {
  Cenario c;
  c.f.arquivos->CriarArquivo(kMarcador);
  c.f.arquivos->arquivos[ArquivosFalsos::Normalizar(kMarcador)].emUso = true;
  EXPECT_FALSE(c.Inicializar());
  ASSERT_EQ(c.f.visao->caixas.size(), 1u);
  EXPECT_EQ(c.f.visao->caixas[0].texto,
            "VerificarBackUpEmExecucao - Não será possível acessar o Gerenciador de Aplicativos Tavoran. No "
            "momento está sendo executada a Cópia de Arquivos,  entre em contato com o administrador da rede "
            "para obter maiores informações.");
  EXPECT_EQ(c.f.visao->caixas[0].icone, IconeCaixa::Informacao);
  EXPECT_EQ(c.f.visao->caixas[0].titulo, "Tavoran - Atenção");
}

TEST(VerificarKemEmExecucao, OpenManagerWindowRefusesTheStart) {
  Cenario c;
  c.f.janelas->titulos = {"Outra", "GERENCIADOR DE APLICATIVOS TAVORAN - VERSÃO 5.2.0"};
  EXPECT_FALSE(c.Inicializar());
  ASSERT_EQ(c.f.visao->caixas.size(), 1u);
  EXPECT_EQ(c.f.visao->caixas[0].texto,
            "Não será possível acessar o Gerenciador de Aplicativos Tavoran. O mesmo já está aberto.\r\n\r\n"
            "Verifique na sua barra de tarefas se a janela do sistema encontra-se minimizada. Caso não encontre, "
            "verifique se o executável Tavoran2.exe está em processamento no gerenciador de tarefas do Windows e "
            "finalize o processo.");
}

TEST(VerificarKemEmExecucao, FailingWindowWalkShowsTheGenericError) {
  Cenario c;
  c.f.janelas->lancar = true;
  EXPECT_FALSE(c.Inicializar());
  ASSERT_EQ(c.f.visao->caixas.size(), 1u);
  EXPECT_NE(c.f.visao->caixas[0].texto.find("Falha ao verificar se instancia do KEM em execução."),
            std::string::npos);
  EXPECT_NE(c.f.visao->caixas[0].texto.find("rotina VerificarKemEmExecucao"), std::string::npos);
}

// ---- launch and date format --------------------------------------------------------------

TEST(ExecutarKemCriaArq, AFailedStartShowsTheGenericError) {
  Cenario c;
  ASSERT_TRUE(c.Inicializar());
  c.f.shell->falhaIniciar = {53, "Arquivo não encontrado"};
  c.janela->ExecutarKemCriaArq();
  ASSERT_EQ(c.f.visao->caixas.size(), 1u);
  EXPECT_EQ(c.f.visao->caixas[0].texto,
            "Falha imprevista na rotina ExecutarKemCriaArq\r\nNúmero: 53\r\nDescrição: Arquivo não encontrado");
}

TEST(CorrigirConfiguracaoDataWindows, ACorrectionIsAnUpdateRowAndAFailureTheGenericBox) {
  Cenario c;
  ASSERT_TRUE(c.Inicializar());
  c.f.regional->itens[kLocaleDataCurta] = "M/d/yyyy";
  c.janela->CorrigirConfiguracaoDataWindows();
  EXPECT_EQ(c.f.regional->itens[kLocaleDataCurta], "dd/MM/yyyy");
  EXPECT_EQ(c.janela->Log()->LogsGravados(), 1);
  c.janela->CorrigirConfiguracaoDataWindows();
  EXPECT_EQ(c.janela->Log()->LogsGravados(), 1);
  c.f.regional->itens[kLocaleDataCurta] = "M/d/yyyy";
  c.f.regional->falhaGravacao = true;
  c.janela->CorrigirConfiguracaoDataWindows();
  ASSERT_EQ(c.f.visao->caixas.size(), 1u);
  EXPECT_NE(c.f.visao->caixas[0].texto.find(
                "Descrição: Falha ao verificar configuração de formatação de data do Windows: "),
            std::string::npos);
}

}  // namespace
}  // namespace tavoran::testes
