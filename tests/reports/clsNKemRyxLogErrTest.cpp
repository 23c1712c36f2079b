#include <gtest/gtest.h>

#include "reports/clsNKemRyxLogErr.h"
#include "tests/fakes/Falsos.h"
#include "tests/reports/Golden.h"

namespace tavoran::testes {
namespace {

constexpr const char* kPasta = "P:\\Tavoran.win\\Logs\\RYX\\Erros";
constexpr const char* kArquivo = "P:\\Tavoran.win\\Logs\\RYX\\Erros\\ESTACAO01 (2026-12-08_09-05-07).HTML";

// Every key of the help-link table, each with a link that names its key.
LinksAjuda TodosOsLinks() {
  LinksAjuda links;
  for (int i = 1; i <= 26; ++i) {
    std::string chave("C");
    chave += std::to_string(i);
    links.Definir(chave, "link-" + chave);
  }
  return links;
}

class TabelaDeLinks : public ::testing::Test {
 protected:
  std::string Link(std::int32_t numero, const std::string& descricao = "", const std::string& chave = "") {
    std::string link = "lixo";
    EXPECT_TRUE(relatorio.TratarErrosComFAQLinks(numero, link, descricao, chave));
    return link;
  }
  ArquivosFalsos arquivos;
  RelogioFalso relogio;
  LinksAjuda links = TodosOsLinks();
  clsNKemRyxLogErr relatorio{arquivos, relogio, links};
};

TEST_F(TabelaDeLinks, NumbersThatIgnoreTheKey) {
  const std::pair<std::int32_t, const char*> casos[] = {
      {70, "C1"},     {75, "C1"},     {161, "C2"},     {429, "C3"},     {430, "C3"},
      {3014, "C4"},   {107707, "C6"}, {107719, "C17"}, {107720, "C18"}, {107721, "C19"},
      {23098, "C20"}, {32181, "C21"}, {32182, "C22"},  {9071, "C16"},   {12345, "C26"},
  };
  for (const auto& [numero, chave] : casos) {
    SCOPED_TRACE(numero);
    EXPECT_EQ(Link(numero), std::string("link-") + chave);
    EXPECT_EQ(Link(numero, "qualquer", "PORTA"), std::string("link-") + chave);
  }
}

TEST_F(TabelaDeLinks, DatabaseErrorsChooseByKeyInAnyCase) {
  EXPECT_EQ(Link(3012, "", "PORTA"), "link-C11");
  EXPECT_EQ(Link(3012, "", "porta"), "link-C11");
  EXPECT_EQ(Link(3012, "", "Rede"), "link-C10");
  EXPECT_EQ(Link(3012, "", "semlink"), "");
  EXPECT_EQ(Link(3012, "", ""), "link-C8");
  EXPECT_EQ(Link(3012, "", " PORTA"), "link-C8");  // keys are not trimmed
  EXPECT_EQ(Link(3103, "", "PORTA"), "link-C13");
  EXPECT_EQ(Link(3103, "", "REDE"), "link-C14");
  EXPECT_EQ(Link(3103, "", "SEMLINK"), "");
  EXPECT_EQ(Link(3103, "", "OUTRA"), "link-C12");
}

TEST_F(TabelaDeLinks, ErrorZeroChoosesByComponentKeys) {
  EXPECT_EQ(Link(0, "", "erro_vbdti80"), "link-C23");
  EXPECT_EQ(Link(0, "", "COMPONENTE_AUSENTE"), "link-C3");
  EXPECT_EQ(Link(0), "link-C9");
  EXPECT_EQ(Link(0, "Automation error", "REDE"), "link-C9");
}

TEST_F(TabelaDeLinks, AutomationErrorComesBeforeTheLastNumbersOnly) {
  EXPECT_EQ(Link(5, "  automation ERROR  "), "link-C3");
  EXPECT_EQ(Link(5, "Automation error 2"), "");
  EXPECT_EQ(Link(5, "Falha"), "");
  EXPECT_EQ(Link(32181, "Automation error"), "link-C3");
  EXPECT_EQ(Link(32182, "AUTOMATION ERROR"), "link-C3");
  EXPECT_EQ(Link(9071, "automation error"), "link-C3");
  EXPECT_EQ(Link(12345, "automation error"), "link-C3");
  // The numbers above the description test keep their own article.
  EXPECT_EQ(Link(70, "automation error"), "link-C1");
  EXPECT_EQ(Link(3012, "automation error", "SEMLINK"), "");
  EXPECT_EQ(Link(107721, "automation error"), "link-C19");
}

TEST_F(TabelaDeLinks, AKeyMissingFromTheConfigurationGivesAnEmptyLink) {
  links.Limpar();
  EXPECT_EQ(Link(70), "");
}

class RelatorioInconsistencia : public ::testing::Test {
 protected:
  RelatorioInconsistencia() {
    arquivos.CriarPastas(kPasta);
    relatorio.Arquivo(kArquivo);
  }
  ArquivosFalsos arquivos;
  RelogioFalso relogio;
  LinksAjuda links;
  clsNKemRyxLogErr relatorio{arquivos, relogio, links};
};

TEST_F(RelatorioInconsistencia, ARowWithAHelpLinkMatchesTheGoldenFile) {
  links.Definir("C11", "https://ajuda.tavoran.com.br/artigo?id=11&origem=inicial");
  EXPECT_TRUE(relatorio.GravarLog("Não foi possível conectar ao banco de dados.", "ignorado", 3012,
                                  "Erro de conexão <porta 3351>", "Porta", "solução ignorada"));
  EXPECT_EQ(relatorio.LogsGravados(), 1);
  EXPECT_TRUE(relatorio.FecharLog());
  EXPECT_EQ(arquivos.Conteudo(kArquivo), LerGolden("inconsistencia_link.html"));
}

TEST_F(RelatorioInconsistencia, RowsWithoutALinkShowTheStandingAdviceOrTheCallersSolution) {
  links.Definir("C1", "   ");  // a blank link counts as none
  EXPECT_TRUE(relatorio.GravarLog("O servidor respondeu, mas o sistema não pôde ser iniciado.", "", 3012,
                                  "Erro de conexão", "SEMLINK", "  "));
  EXPECT_TRUE(relatorio.GravarLog("Falha ao excluir 'x.dll'", "http://nao-usado", 70, "Permissão negada", "",
                                  "Reinicie o computador & tente \"de novo\"."));
  EXPECT_EQ(relatorio.LogsGravados(), 2);
  EXPECT_TRUE(relatorio.FecharLog());
  EXPECT_EQ(arquivos.Conteudo(kArquivo), LerGolden("inconsistencia_conselho.html"));
}

TEST_F(RelatorioInconsistencia, NoRowLeavesNoFile) {
  EXPECT_TRUE(relatorio.FecharLog());
  EXPECT_FALSE(arquivos.ExisteArquivo(kArquivo));
  EXPECT_EQ(relatorio.LogsGravados(), 0);
}

TEST_F(RelatorioInconsistencia, AMissingFolderFailsTheRowWithTheOpeningError) {
  relatorio.Arquivo("Q:\\sem\\pasta.HTML");
  EXPECT_FALSE(relatorio.GravarLog("m", "", 70, "d", "", ""));
  EXPECT_EQ(relatorio.ErroNumero(), 76);
  EXPECT_EQ(relatorio.ErroDescricao(), "Caminho não encontrado (Rotina: AbrirLog)");
  EXPECT_EQ(relatorio.LogsGravados(), 0);
}

}  // namespace
}  // namespace tavoran::testes
