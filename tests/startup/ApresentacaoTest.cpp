// Message boxes, help articles and the help-link table.
#include <gtest/gtest.h>

#include "platform/Texto.h"
#include "startup/clsApresentacao.h"
#include "tests/startup/Cenario.h"

namespace tavoran::testes {
namespace {

constexpr const char* kConfiguracao = "P:\\Tavoran.win\\TvGeral\\Arquivos\\Dados_Padrao_Tavoran.config";

TEST(ExibirMensagemComFAQLinks, OkOpensTheArticleOtherAnswersOpenNothing) {
  Cenario c;
  c.links.Definir("C21", "https://ajuda.example/c21");
  clsApresentacao a(*c.f.ambiente.visao, *c.f.ambiente.shell, c.logErr.get());
  a.ExibirMensagemComFAQLinks("Sem registro.", 32181, "", "");
  ASSERT_EQ(c.f.visao->caixas.size(), 1u);
  EXPECT_EQ(c.f.visao->caixas[0].texto,
            "Sem registro.\r\nClique em OK para verificar os procedimentos para correção do erro.");
  EXPECT_EQ(c.f.visao->caixas[0].icone, IconeCaixa::Pergunta);
  EXPECT_EQ(c.f.visao->caixas[0].botoes, BotoesCaixa::Ok);
  ASSERT_EQ(c.f.shell->abertos.size(), 1u);
  EXPECT_EQ(c.f.shell->abertos[0].documento, "https://ajuda.example/c21");

  c.f.visao->respostas = {kBotaoCancelar};
  a.ExibirMensagemComFAQLinks("Sem registro.", 32181, "", "");
  EXPECT_EQ(c.f.shell->abertos.size(), 1u);
}

TEST(ExibirMensagemComFAQLinks, AMissingLinkIsStillOpenedAsAnEmptyText) {
  Cenario c;
  clsApresentacao a(*c.f.ambiente.visao, *c.f.ambiente.shell, c.logErr.get());
  a.ExibirMensagemComFAQLinks("x", 0, "", "COMPONENTE_AUSENTE");
  ASSERT_EQ(c.f.shell->abertos.size(), 1u);
  EXPECT_EQ(c.f.shell->abertos[0].documento, "");
}

TEST(ExibirErroGenerico, TheModuleBoxFallsBackWhenTheFirstBoxFails) {
  Cenario c;
  int tentativas = 0;
  c.f.visao->aoExibirCaixa = [&tentativas](const VisaoFalsa::Caixa&) {
    if (++tentativas == 1) throw ErroRuntime(7, "Memória insuficiente");
  };
  clsApresentacao a(*c.f.ambiente.visao, *c.f.ambiente.shell, nullptr);
  a.ExibirErroGenerico(5, "Falha", "Form_Activate");
  ASSERT_EQ(c.f.visao->caixas.size(), 2u);
  EXPECT_EQ(c.f.visao->caixas[1].texto,
            "Falha imprevista na rotina ExibirErroGenerico\r\nNúmero: 7\r\nDescrição: Memória insuficiente");
  EXPECT_EQ(c.f.visao->caixas[1].icone, IconeCaixa::Critico);

  tentativas = 0;
  c.f.visao->caixas.clear();
  a.ExibirErroGenericoJanela(5, "Falha", "Form_Activate");  // the window's box is not shown again
  EXPECT_EQ(c.f.visao->caixas.size(), 1u);
}

TEST(ExibirMensagemPermissaoNegada, BothVariantsWriteAnEntryWithoutKey) {
  Cenario c;
  ASSERT_TRUE(c.Inicializar());
  c.janela->ExibirMensagemPermissaoNegada("C:\\Windows\\SysWOW64\\TavUtil20.dll", 70, "Permissão negada");
  c.janela->ExibirMensagemPermissaoNegada("C:\\x\\Planilha.xla", 75, "Erro", VariantePermissao::TavoranEOffice);
  EXPECT_EQ(c.logErr->LogsGravados(), 2);
  c.logErr->FecharLog();
  const std::string html = DeCp1252(c.f.arquivos->Conteudo(c.RelatorioInconsistencia()));
  EXPECT_NE(html.find("Não foi possível excluir o arquivo 'C:\\Windows\\SysWOW64\\TavUtil20.dll'.\r\nUm ou mais "
                      "processos em execução estão utilizando este componente. Finalize todas as rotinas Tavoran "
                      "e tente novamente."),
            std::string::npos);
  EXPECT_NE(html.find("Finalize todas as rotinas do Tavoran e do Office e tente novamente."), std::string::npos);
}

TEST(CarregarLinks, ReadsTheTwentyTwoKeysAndLeavesMissingOnesEmpty) {
  Cenario c;
  std::string xml = "<?xml version=\"1.0\"?>\r\n<Dados>\r\n";
  for (int n = 1; n <= 26; ++n)
    if (n != 23) xml += "<Item id=\"C" + std::to_string(n) + "\" value=\"https://ajuda/" + std::to_string(n) + "\"/>\r\n";
  xml += "</Dados>\r\n";
  c.f.arquivos->CriarArquivo(kConfiguracao, xml);
  ASSERT_TRUE(c.Inicializar());
  EXPECT_EQ(c.links.Link("C1"), "https://ajuda/1");
  EXPECT_EQ(c.links.Link("C26"), "https://ajuda/26");
  EXPECT_EQ(c.links.Link("C23"), "");
  EXPECT_EQ(c.links.Link("C7"), "");  // not one of the table's keys
  EXPECT_EQ(c.links.Link("C15"), "");
}

TEST(CarregarLinks, MissingOrMalformedFileGivesEmptyLinks) {
  for (const std::string& conteudo : {std::string(), std::string("<Dados><Item id='C1' value='x'")}) {
    Cenario c;
    if (!conteudo.empty()) c.f.arquivos->CriarArquivo(kConfiguracao, conteudo);
    ASSERT_TRUE(c.Inicializar());
    EXPECT_EQ(c.links.Link("C1"), "");
    EXPECT_TRUE(c.f.visao->caixas.empty());
  }
}

}  // namespace
}  // namespace tavoran::testes
