// TAVORAN.EXE started for real on the test workstation (a share on drive T:, registry,
// stand-in starter and browser); message boxes read and answered through the automation.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>

#include "platform/win32/ShellWin32.h"
#include "tests/e2e/EstacaoTeste.h"
#include "tests/helpers/ApoioTeste.h"

namespace tavoran::testes {
namespace {

const std::string kTituloAtencao = "Tavoran - Atenção";
const std::string kTextoCopiaEmExecucao =
    "VerificarBackUpEmExecucao - Não será possível acessar o Gerenciador de Aplicativos Tavoran. No momento está "
    "sendo executada a Cópia de Arquivos,  entre em contato com o administrador da rede para obter maiores "
    "informações.";
const std::string kTextoKemAberto =
    "Não será possível acessar o Gerenciador de Aplicativos Tavoran. O mesmo já está aberto.\r\n\r\nVerifique na sua "
    "barra de tarefas se a janela do sistema encontra-se minimizada. Caso não encontre, verifique se o executável "
    "Tavoran2.exe está em processamento no gerenciador de tarefas do Windows e finalize o processo.";

class TavoranE2eTest : public ::testing::Test {
 protected:
  void SetUp() override { estacao.Preparar(); }
  std::string Programa() const { return estacao.DirT() + "\\TAVORAN.EXE"; }
  std::string Marcador() const { return estacao.DirT() + "\\Tavoran.bk"; }
  std::string LinhaKemCriaArq() const {
    return "KemCriaArq.exe|" + estacao.DirT() + "\\KemCriaArq.exe 418207," + estacao.DirT() + "\\TAVORAN.EXE\r\n";
  }
  // Waits a moment for a stand-in that may still be writing.
  std::string ComandosDepoisDe(const std::string& esperado) {
    for (int i = 0; i < 100 && estacao.Comandos().find(esperado) == std::string::npos; ++i) Sleep(100);
    return estacao.Comandos();
  }
  EstacaoTeste estacao;
};

TEST_F(TavoranE2eTest, SemImpedimentoMostraAJanelaIniciaOGerenciadorEFecha) {
  ExecucaoTavoran tavoran(Programa(), "");
  ASSERT_TRUE(tavoran.Iniciada());
  ASSERT_TRUE(tavoran.EsperarFim());
  EXPECT_EQ(tavoran.CodigoSaida(), 0u);
  EXPECT_TRUE(tavoran.caixasVistas.empty()) << tavoran.caixasVistas.front().texto;
  EXPECT_EQ(ComandosDepoisDe(LinhaKemCriaArq()), LinhaKemCriaArq());

  // The report folders exist; report files, once written, carry the computer and the time.
  ASSERT_TRUE(Existe(estacao.DirT() + "\\Logs\\RYX"));
  ASSERT_TRUE(Existe(estacao.DirT() + "\\Logs\\RYX\\Erros"));
  const std::regex nome(estacao.NomeComputador() + " \\([0-9]{4}-[0-9]{2}-[0-9]{2}_[0-9]{2}-[0-9]{2}-[0-9]{2}\\)\\.HTML");
  for (const auto& pasta : {estacao.DirT() + "\\Logs\\RYX", estacao.DirT() + "\\Logs\\RYX\\Erros"})
    for (const auto& arquivo : estacao.Arquivos(pasta)) EXPECT_TRUE(std::regex_match(arquivo, nome)) << arquivo;
}

TEST_F(TavoranE2eTest, MarcadorDeCopiaAbandonadoEApagadoEOInicioSegue) {
  GravarArquivo(Marcador(), "copia antiga");
  ExecucaoTavoran tavoran(Programa(), "");
  ASSERT_TRUE(tavoran.EsperarFim());
  EXPECT_TRUE(tavoran.caixasVistas.empty());
  EXPECT_FALSE(Existe(Marcador()));
  EXPECT_EQ(ComandosDepoisDe(LinhaKemCriaArq()), LinhaKemCriaArq());
}

TEST_F(TavoranE2eTest, MarcadorPresoPelaCopiaRecusaOInicioComACaixa) {
  EstacaoTeste::ArquivoPreso copia(Marcador());
  ASSERT_TRUE(copia.Preso());
  ExecucaoTavoran tavoran(Programa(), "");
  const auto caixa = tavoran.EsperarCaixa();
  ASSERT_TRUE(caixa.has_value());
  EXPECT_EQ(caixa->titulo, kTituloAtencao);
  EXPECT_EQ(caixa->texto, kTextoCopiaEmExecucao);
  EXPECT_THAT(caixa->botoes, ::testing::SizeIs(1));
  ExecucaoTavoran::Responder(*caixa);
  ASSERT_TRUE(tavoran.EsperarFim());
  EXPECT_FALSE(tavoran.JanelaFoiVista());
  EXPECT_EQ(tavoran.caixasVistas.size(), 1u);
  EXPECT_TRUE(Existe(Marcador()));
  EXPECT_EQ(estacao.Comandos(), "");
}

TEST_F(TavoranE2eTest, SegundaCopiaNaMesmaSessaoTerminaEmSilencio) {
  // The first copy waits on its refusal box, so it is still running.
  EstacaoTeste::ArquivoPreso copia(Marcador());
  ExecucaoTavoran primeira(Programa(), "");
  const auto caixa = primeira.EsperarCaixa();
  ASSERT_TRUE(caixa.has_value());

  ExecucaoTavoran segunda(Programa(), "");
  ASSERT_TRUE(segunda.Iniciada());
  EXPECT_FALSE(segunda.EsperarCaixa(15000).has_value());
  ASSERT_TRUE(segunda.EsperarFim(30000));
  EXPECT_EQ(segunda.CodigoSaida(), 0u);
  EXPECT_TRUE(segunda.caixasVistas.empty());
  EXPECT_FALSE(segunda.JanelaFoiVista());

  ExecucaoTavoran::Responder(*caixa);
  EXPECT_TRUE(primeira.EsperarFim());
}

TEST_F(TavoranE2eTest, GerenciadorAbertoRecusaOInicioComACaixa) {
  EstacaoTeste::JanelaDeOutroPrograma kem("Gerenciador de Aplicativos Tavoran - Versão 5.0.1");
  ExecucaoTavoran tavoran(Programa(), "");
  const auto caixa = tavoran.EsperarCaixa();
  ASSERT_TRUE(caixa.has_value());
  EXPECT_EQ(caixa->titulo, kTituloAtencao);
  EXPECT_EQ(caixa->texto, kTextoKemAberto);
  ExecucaoTavoran::Responder(*caixa);
  ASSERT_TRUE(tavoran.EsperarFim());
  EXPECT_FALSE(tavoran.JanelaFoiVista());
  EXPECT_EQ(estacao.Comandos(), "");
}

TEST_F(TavoranE2eTest, LinkDeAjudaAbertoComShellExecuteChegaAoNavegador) {
  const std::string link = "https://ajuda.tavoran.com.br/artigos/23098?origem=tavoran&x=1";
  EXPECT_FALSE(win32::ShellWin32().AbrirDocumento(0, link).Ocorreu());
  const std::string comandos = ComandosDepoisDe(link);
  EXPECT_THAT(comandos, ::testing::StartsWith("NavegadorFalso.exe|"));
  EXPECT_THAT(comandos, ::testing::HasSubstr("\"" + link + "\""));
}

}  // namespace
}  // namespace tavoran::testes
