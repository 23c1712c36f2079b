// The order and the conditions of the main sequence, with routines of the test in its rows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/startup/Cenario.h"

namespace tavoran::testes {
namespace {

class Sequencia : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(c.Inicializar());
    PlanoSequencia& p = c.janela->Plano();
    p.lerVersaoBtrieve = Registrar("versao");
    p.verificarVersoes = Registrar("versoes");
    p.verificarPrecisaAtualizar = [this] {
      chamadas.push_back("precisa");
      c.janela->PrecisaAtualizar(precisa);
      return true;
    };
    p.corrigirConfiguracaoData = [this] { chamadas.push_back("data"); };
    p.verificarComponentePervasive = Registrar("pervasive");
    p.configurarBarraProgressoTotal = Registrar("barra");
    p.executarKemCriaArq = [this] { chamadas.push_back("kem"); };
    p.obterBloqueio = Registrar("bloqueio");
    p.apagarExecutaveisReestruturacao = Registrar("apagar");
    p.atualizacao = {{"Preparando atualização...", Registrar("modoInstalacao")},
                     {"", Registrar("componentes")},
                     {"Instalando Impressora Virtual...", Registrar("impressora")}};
    p.atualizarSelvComp = Registrar("selvcomp");
    p.desbloquear = Registrar("desbloquear");
    p.sairModoInstalacao = [this] { chamadas.push_back("modoExecucao"); };
  }

  std::function<bool()> Registrar(const std::string& nome, bool resultado = true) {
    return [this, nome, resultado] {
      chamadas.push_back(nome);
      return resultado;
    };
  }

  void Executar() {
    c.f.visao->textos.clear();
    c.f.visao->Mostrar();
    c.f.visao->ExecutarLaco();
  }

  Cenario c;
  bool precisa = false;
  std::vector<std::string> chamadas;
};

using Lista = std::vector<std::string>;

TEST_F(Sequencia, WithoutUpdateTheManagerStartsInsideTheValidationsAndTheWindowCloses) {
  Executar();
  EXPECT_EQ(chamadas, (Lista{"versao", "versoes", "precisa", "data", "pervasive", "barra", "kem", "apagar",
                             "modoExecucao"}));
  EXPECT_TRUE(c.f.visao->fechada);
  EXPECT_TRUE(c.f.shell->abertos.empty());
  const auto& t = c.f.visao->textos;
  const Lista esperados{"Verificando versão do banco de dados...", "", "Verificando componentes...", "",
                        "Iniciando sistema..."};
  EXPECT_EQ(t, esperados);
}

TEST_F(Sequencia, UpdateBranchRunsEveryRowThenRecordsReleasesAndStarts) {
  precisa = true;
  Executar();
  EXPECT_EQ(chamadas, (Lista{"versao", "versoes", "precisa", "data", "pervasive", "barra", "bloqueio", "precisa",
                             "apagar", "modoInstalacao", "componentes", "impressora", "selvcomp", "desbloquear",
                             "kem", "modoExecucao"}));
  const auto& t = c.f.visao->textos;
  EXPECT_NE(std::find(t.begin(), t.end(), "Preparando atualização"), t.end());
  EXPECT_NE(std::find(t.begin(), t.end(), "Finalizando atualização..."), t.end());
  EXPECT_NE(std::find(t.begin(), t.end(), "Instalando Impressora Virtual..."), t.end());
}

// Another session recorded the update between this one's first read and its lock.
TEST_F(Sequencia, RecordThatAppearedUnderTheLockStartsTheManagerWithoutUpdating) {
  precisa = true;
  c.janela->Plano().obterBloqueio = [this] {
    chamadas.push_back("bloqueio");
    precisa = false;
    return true;
  };
  Executar();
  EXPECT_EQ(chamadas, (Lista{"versao", "versoes", "precisa", "data", "pervasive", "barra", "bloqueio", "precisa",
                             "desbloquear", "kem", "apagar", "modoExecucao"}));
}

TEST_F(Sequencia, UpdateWithoutRowsLeavesOnlyTheSuccessNotice) {
  precisa = true;
  Executar();
  const std::string relatorio = c.f.arquivos->Conteudo(c.RelatorioAtualizacao());
  EXPECT_NE(relatorio.find("<p class='Alerta'>A verifica\xE7\xE3o foi executada com sucesso. Nenhum componente "
                           "precisou ser atualizado.</p>"),
            std::string::npos);
  EXPECT_EQ(relatorio.find("<table"), std::string::npos);
}

TEST_F(Sequencia, AnInconsistencyEntryStopsRecordingAndOpensTheReport) {
  precisa = true;
  c.janela->Plano().atualizacao[1].rotina = [this] {
    c.janela->GravarLog("Falha ao copiar", 70, "Permissão negada", "");
    return true;
  };
  Executar();
  EXPECT_EQ(std::count(chamadas.begin(), chamadas.end(), "selvcomp"), 0);
  EXPECT_EQ(std::count(chamadas.begin(), chamadas.end(), "desbloquear"), 0);
  EXPECT_EQ(std::count(chamadas.begin(), chamadas.end(), "kem"), 0);
  ASSERT_EQ(c.f.shell->abertos.size(), 1u);
  EXPECT_EQ(c.f.shell->abertos[0].documento, c.RelatorioInconsistencia());
  EXPECT_EQ(c.f.shell->abertos[0].dono, c.f.visao->Janela());
  EXPECT_NE(c.f.arquivos->Conteudo(c.RelatorioInconsistencia()).find("</html>"), std::string::npos);
}

TEST_F(Sequencia, FirstFalseRowEndsTheSequenceButTheClosingPhaseRuns) {
  precisa = true;
  c.janela->Plano().atualizacao[1].rotina = Registrar("componentes", false);
  Executar();
  EXPECT_EQ(chamadas.back(), "modoExecucao");
  EXPECT_EQ(std::count(chamadas.begin(), chamadas.end(), "impressora"), 0);
  EXPECT_EQ(std::count(chamadas.begin(), chamadas.end(), "selvcomp"), 0);
  EXPECT_TRUE(c.f.visao->fechada);
}

TEST_F(Sequencia, FailedLockEndsTheValidations) {
  precisa = true;
  c.janela->Plano().obterBloqueio = Registrar("bloqueio", false);
  Executar();
  EXPECT_EQ(chamadas, (Lista{"versao", "versoes", "precisa", "data", "pervasive", "barra", "bloqueio",
                             "modoExecucao"}));
}

TEST_F(Sequencia, FailedRecordingDoesNotReleaseNorStart) {
  precisa = true;
  c.janela->Plano().atualizarSelvComp = Registrar("selvcomp", false);
  Executar();
  EXPECT_EQ(std::count(chamadas.begin(), chamadas.end(), "desbloquear"), 0);
  EXPECT_EQ(std::count(chamadas.begin(), chamadas.end(), "kem"), 0);
}

TEST_F(Sequencia, UnexpectedErrorShowsTheGenericBoxAndStillCloses) {
  precisa = true;
  c.janela->Plano().atualizacao[0].rotina = []() -> bool { throw ErroRuntime(5, "Falha"); };
  Executar();
  ASSERT_EQ(c.f.visao->caixas.size(), 1u);
  EXPECT_EQ(c.f.visao->caixas[0].texto,
            "Falha imprevista na rotina Form_Activate\r\nNúmero: 5\r\nDescrição: Falha");
  EXPECT_EQ(c.f.visao->caixas[0].icone, IconeCaixa::Critico);
  EXPECT_EQ(c.f.visao->caixas[0].titulo, "Tavoran - Atenção");
  EXPECT_TRUE(c.f.visao->fechada);
  EXPECT_EQ(chamadas.back(), "modoExecucao");
}

TEST_F(Sequencia, UnexpectedErrorInTheValidationsNamesThatRoutine) {
  c.janela->Plano().verificarComponentePervasive = []() -> bool { throw ErroRuntime(91, "Objeto"); };
  Executar();
  ASSERT_EQ(c.f.visao->caixas.size(), 1u);
  EXPECT_EQ(c.f.visao->caixas[0].texto.rfind("Falha imprevista na rotina RealizarValidacoesIniciais\r\n", 0), 0u);
  EXPECT_EQ(std::count(chamadas.begin(), chamadas.end(), "kem"), 0);
}

TEST_F(Sequencia, ClosingReleasesTheObjectsAfterCleaningOldReports) {
  Executar();
  EXPECT_EQ(c.janela->Util(), nullptr);
  EXPECT_EQ(c.janela->Log(), nullptr);
  EXPECT_EQ(c.janela->LogErr(), nullptr);
  c.f.visao->Fechar();  // a second close changes nothing
  EXPECT_EQ(std::count(chamadas.begin(), chamadas.end(), "modoExecucao"), 1);
}

TEST(Janela, ProgressStopsAtItsMaximumAndThePauseEndsOnTheTimerTick) {
  Cenario c;
  ASSERT_TRUE(c.Inicializar());
  c.f.visao->DefinirFaixaProgresso(0, 2);
  for (int i = 0; i < 4; ++i) c.janela->AdicionarProgresso();
  EXPECT_EQ(c.f.visao->valor, 2);
  c.janela->Aguardar();
  EXPECT_FALSE(c.f.visao->temporizador);
  c.janela->Form_Resize(300, 120);
  EXPECT_EQ(c.f.visao->larguraBordas, 300);
  EXPECT_EQ(c.f.visao->alturaBordas, 120);
}

}  // namespace
}  // namespace tavoran::testes
