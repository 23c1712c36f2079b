// The window's version step: what each failure of the verification becomes.
#include <gtest/gtest.h>

#include "tests/fakes/BtrieveFalso.h"

#include "platform/Texto.h"
#include "tests/fakes/FalsosRede.h"
#include "tests/startup/Cenario.h"

namespace tavoran::testes {
namespace {

std::string Relatorio(Cenario& c) {
  c.logErr->FecharLog();
  return DeCp1252(c.f.arquivos->Conteudo(c.RelatorioInconsistencia()));
}

TEST(VerificarVersoes, CurrentProgramsPassWithoutMessage) {
  Cenario c;
  ASSERT_TRUE(c.Inicializar());
  c.f.visao->textos.clear();
  EXPECT_TRUE(c.janela->VerificarVersoes());
  EXPECT_TRUE(c.f.visao->caixas.empty());
  EXPECT_EQ(c.f.visao->textos.front(), "Verificando versões das rotinas iniciais...");
  EXPECT_EQ(c.f.visao->textos.back(), "");
}

TEST(VerificarVersoes, MissingVersionFileShowsItsBoxAndOpensTheArticleOnOk) {
  Cenario c;
  ASSERT_TRUE(c.Inicializar());
  c.links.Definir("C17", "https://ajuda/c17");
  c.f.arquivos->arquivos.erase(ArquivosFalsos::Normalizar("P:\\Tavoran.win\\KEMVERSAO.BTR"));
  EXPECT_FALSE(c.janela->VerificarVersoes());
  ASSERT_EQ(c.f.visao->caixas.size(), 1u);
  EXPECT_EQ(c.f.visao->caixas[0].texto,
            "Não será possível abrir o Gerenciador de Aplicativos Tavoran.\r\n\r\n107719 - O arquivo "
            "'P:\\Tavoran.win\\KEMVERSAO.BTR' não foi encontrado.\r\n\r\nAo clicar em OK será exibido o "
            "procedimento para correção desta situação.");
  ASSERT_EQ(c.f.shell->abertos.size(), 1u);
  EXPECT_EQ(c.f.shell->abertos[0].documento, "https://ajuda/c17");
  EXPECT_EQ(c.logErr->LogsGravados(), 0);  // the user has seen it: no entry
}

TEST(VerificarVersoes, AnUnlistedFailureIsAnEntryWithoutBox) {
  Cenario d;
  ASSERT_TRUE(d.Inicializar());
  // No record for the programs of the current system version: the read error.
  clsSssVersao v(*d.f.ambiente.btrieve, *d.f.ambiente.arquivos);
  v.Diretorio(kDirT);
  v.Sistema("KEM");
  ASSERT_TRUE(v.Abrir(0, ""));
  v.AdicionarNovo();
  v.VersaoSistema("6.0");
  v.NomeProgramaArquivo("OUTRO.EXE");
  v.VersaoPrograma("1.0.0.0");
  v.VersaoOrdenacao("0006.0000");
  ASSERT_TRUE(v.Gravar());
  v.Fechar();
  EXPECT_FALSE(d.janela->VerificarVersoes());
  EXPECT_TRUE(d.f.visao->caixas.empty());
  ASSERT_EQ(d.logErr->LogsGravados(), 1);
  EXPECT_NE(Relatorio(d).find("Falha ao tentar verificar versões de arquivo."), std::string::npos);
}

TEST(VerificarVersoes, UnreachableEngineLeadsToTheConnectionDiagnosis) {
  Cenario c;
  ASSERT_TRUE(c.Inicializar());
  c.f.ambiente.btrieve = std::make_unique<BtrieveInacessivel>(3012);
  c.f.consultaUnidades->tipos['P'] = TipoUnidade::Remota;
  c.f.consultaUnidades->compartilhamentos['P'] = "\\\\SERVIDOR\\Dados";
  EXPECT_FALSE(c.janela->VerificarVersoes());
  ASSERT_EQ(c.logErr->LogsGravados(), 1);
  // The server's name does not resolve: the network entry.
  EXPECT_NE(Relatorio(c).find("Existe uma falha de comunicação de rede com o seu servidor."), std::string::npos);
}

}  // namespace
}  // namespace tavoran::testes
