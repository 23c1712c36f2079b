#include "checks/clsNKemRyxVersoes.h"

#include <gtest/gtest.h>

#include "tests/fakes/BtrieveFalso.h"

#include "platform/Texto.h"
#include "records/clsSssVersao.h"
#include "tests/fakes/Falsos.h"
#include "tests/fakes/MotorBtrieveFalso.h"

namespace tavoran {
namespace {

const std::string kDirT = "P:\\Tavoran.win";
const std::string kArquivoVersoes = kDirT + "\\KEMVERSAO.BTR";
const std::string kAbertura = "Não será possível abrir o Gerenciador de Aplicativos Tavoran.\r\n\r\n";
const std::string kFechamento = "Ao clicar em OK será exibido o procedimento para correção desta situação.";

class VersoesTest : public ::testing::Test {
 protected:
  VersoesTest() {
    falso.registro->DefinirTexto("SOFTWARE\\Tavoran\\DIR_T", "", kDirT);
    falso.arquivos->CriarPastas(kDirT + "\\KEM");
    links.Definir("C17", "https://ajuda/versoes-ausente");
    links.Definir("C18", "https://ajuda/desatualizado");
    links.Definir("C19", "https://ajuda/nao-encontrado");
  }

  struct Entrada {
    std::string sistema, programa, versao, ordenacao;
  };

  // The version file with an older system version 8.0 and the current 8.1.
  void CriarArquivoVersoes(std::vector<Entrada> entradas) {
    clsSssVersao v(*motor, *falso.arquivos);
    v.Diretorio(kDirT);
    v.Sistema("KEM");
    ASSERT_TRUE(v.Criar()) << v.ErroDescricao();
    ASSERT_TRUE(v.Abrir(0, "")) << v.ErroDescricao();
    for (const Entrada& e : entradas) {
      v.AdicionarNovo();
      v.VersaoSistema(e.sistema);
      v.NomeProgramaArquivo(e.programa);
      v.VersaoPrograma(e.versao);
      v.VersaoOrdenacao(e.ordenacao);
      ASSERT_TRUE(v.Gravar()) << v.ErroDescricao();
    }
    ASSERT_TRUE(v.Fechar());
  }

  void CriarArquivoVersoesPadrao() {
    CriarArquivoVersoes({
        {"8.0", "TAVORAN.EXE", "9.0.0.0", "0008.0000"},  // an older system version expects more
        {"8.1", "TAVORAN.EXE", "8.1.0.5", "0008.0001"},
        {"8.1", "TAVORAN2.EXE", "8.1.0.9", "0008.0001"},
        {"8.1", "KEMCRIAARQ.EXE", "2.0.0.0", "0008.0001"},
        {"8.1", "KEMGRAVAARQUIVOWSE.EXE", "1.0.0.0", "0008.0001"},
    });
  }

  void Programa(const std::string& relativo, const std::string& versao) {
    falso.arquivos->CriarArquivo(kDirT + relativo, "MZ");
    falso.arquivos->DefinirVersao(kDirT + relativo, versao);
  }

  void ProgramasAtuais() {
    Programa("\\TAVORAN.EXE", "8.1.0.5");      // equal
    Programa("\\TAVORAN2.EXE", "8.1.0.10");    // newer, compared as numbers
    Programa("\\KEMCRIAARQ.EXE", "2.1.0.0");   // newer
    Programa("\\KEM\\KEMGRAVAARQUIVOWSE.EXE", "1.0.0.0");
  }

  bool Verificar(bool& mensagemExibida) {
    clsNKemRyxVersoes versoes(falso.ambiente, links);
    const bool ok = versoes.VerificarVersoes(mensagemExibida);
    numero = versoes.ErroNumero();
    descricao = versoes.ErroDescricao();
    return ok;
  }

  testes::AmbienteFalso falso;
  testes::MotorBtrieveFalso* motor = falso.btrieve;
  LinksAjuda links;
  std::int32_t numero = 0;
  std::string descricao;
};

TEST_F(VersoesTest, CurrentOrNewerProgramsPassWithoutAnyMessage) {
  CriarArquivoVersoesPadrao();
  ProgramasAtuais();
  bool mensagem = true;
  EXPECT_TRUE(Verificar(mensagem)) << descricao;
  EXPECT_FALSE(mensagem);
  EXPECT_EQ(numero, 0);
  EXPECT_TRUE(falso.visao->caixas.empty());
  EXPECT_TRUE(falso.shell->abertos.empty());
}

TEST_F(VersoesTest, OutdatedProgramIsListedWithItsExpectedVersionAndTheArticleOpensOnOk) {
  CriarArquivoVersoesPadrao();
  ProgramasAtuais();
  Programa("\\TAVORAN.EXE", "8.1.0.4");
  Programa("\\KEMCRIAARQ.EXE", "1.9.9.9");
  bool mensagem = false;
  EXPECT_FALSE(Verificar(mensagem));
  EXPECT_TRUE(mensagem);
  EXPECT_EQ(numero, 107720);
  ASSERT_EQ(falso.visao->caixas.size(), 1u);
  const auto& caixa = falso.visao->caixas[0];
  EXPECT_EQ(caixa.texto, kAbertura +
                             "107720 - O(s) seguinte(s) arquivo(s) está(ão) desatualizado(s):\r\n\r\n"
                             "TAVORAN.EXE - Versão Esperada: 8.1.0.5\r\n\r\n"
                             "KEMCRIAARQ.EXE - Versão Esperada: 2.0.0.0\r\n\r\n" +
                             kFechamento);
  EXPECT_EQ(caixa.titulo, "Tavoran - Atenção");
  EXPECT_EQ(caixa.icone, IconeCaixa::Informacao);
  EXPECT_EQ(caixa.botoes, BotoesCaixa::Ok);
  ASSERT_EQ(falso.shell->abertos.size(), 1u);
  EXPECT_EQ(falso.shell->abertos[0].documento, "https://ajuda/desatualizado");
  EXPECT_EQ(falso.shell->abertos[0].dono, 0u);
}

TEST_F(VersoesTest, MissingProgramHidesTheOutdatedList) {
  CriarArquivoVersoesPadrao();
  ProgramasAtuais();
  falso.arquivos->arquivos.erase(testes::ArquivosFalsos::Normalizar(kDirT + "\\TAVORAN2.EXE"));
  Programa("\\TAVORAN.EXE", "8.0.0.0");
  bool mensagem = false;
  EXPECT_FALSE(Verificar(mensagem));
  EXPECT_TRUE(mensagem);
  EXPECT_EQ(numero, 107721);
  ASSERT_EQ(falso.visao->caixas.size(), 1u);
  EXPECT_EQ(falso.visao->caixas[0].texto,
            kAbertura + "107721 - O(s) seguinte(s) arquivo(s) não foi(ram) encontrado(s):\r\n\r\n" + kDirT +
                "\\TAVORAN2.EXE\r\n\r\n" + kFechamento);
  ASSERT_EQ(falso.shell->abertos.size(), 1u);
  EXPECT_EQ(falso.shell->abertos[0].documento, "https://ajuda/nao-encontrado");
}

TEST_F(VersoesTest, TheLastProgramIsLookedForInTheKemFolderOnly) {
  CriarArquivoVersoesPadrao();
  ProgramasAtuais();
  falso.arquivos->arquivos.erase(testes::ArquivosFalsos::Normalizar(kDirT + "\\KEM\\KEMGRAVAARQUIVOWSE.EXE"));
  Programa("\\KEMGRAVAARQUIVOWSE.EXE", "1.0.0.0");
  bool mensagem = false;
  EXPECT_FALSE(Verificar(mensagem));
  ASSERT_EQ(falso.visao->caixas.size(), 1u);
  EXPECT_NE(falso.visao->caixas[0].texto.find(kDirT + "\\KEM\\KEMGRAVAARQUIVOWSE.EXE\r\n\r\n"), std::string::npos);
}

TEST_F(VersoesTest, EmptyExpectedVersionNeverMakesAProgramOutdated) {
  CriarArquivoVersoes({
      {"8.1", "TAVORAN.EXE", "", "0008.0001"},
      {"8.1", "TAVORAN2.EXE", "", "0008.0001"},
      {"8.1", "KEMCRIAARQ.EXE", "", "0008.0001"},
      {"8.1", "KEMGRAVAARQUIVOWSE.EXE", "", "0008.0001"},
  });
  ProgramasAtuais();
  Programa("\\TAVORAN.EXE", "0.0.0.1");
  bool mensagem = true;
  EXPECT_TRUE(Verificar(mensagem)) << descricao;
  EXPECT_TRUE(falso.visao->caixas.empty());
}

TEST_F(VersoesTest, ProgramWithoutVersionResourceIsOutdated) {
  CriarArquivoVersoesPadrao();
  ProgramasAtuais();
  falso.arquivos->CriarArquivo(kDirT + "\\TAVORAN2.EXE", "MZ");
  falso.arquivos->arquivos[testes::ArquivosFalsos::Normalizar(kDirT + "\\TAVORAN2.EXE")].temVersao = false;
  bool mensagem = false;
  EXPECT_FALSE(Verificar(mensagem));
  ASSERT_EQ(falso.visao->caixas.size(), 1u);
  EXPECT_NE(falso.visao->caixas[0].texto.find("TAVORAN2.EXE - Versão Esperada: 8.1.0.9"), std::string::npos);
}

TEST_F(VersoesTest, ClosingTheBoxOpensNoArticle) {
  CriarArquivoVersoesPadrao();
  ProgramasAtuais();
  Programa("\\TAVORAN.EXE", "8.1.0.4");
  falso.visao->respostas = {kBotaoCancelar};
  bool mensagem = false;
  EXPECT_FALSE(Verificar(mensagem));
  EXPECT_TRUE(mensagem);
  EXPECT_EQ(falso.visao->caixas.size(), 1u);
  EXPECT_TRUE(falso.shell->abertos.empty());
}

TEST_F(VersoesTest, ProgramWithoutARecordForTheCurrentSystemVersionIsAReadError) {
  CriarArquivoVersoes({
      {"8.0", "KEMCRIAARQ.EXE", "2.0.0.0", "0008.0000"},
      {"8.1", "TAVORAN.EXE", "8.1.0.5", "0008.0001"},
      {"8.1", "TAVORAN2.EXE", "8.1.0.9", "0008.0001"},
  });
  ProgramasAtuais();
  bool mensagem = true;
  EXPECT_FALSE(Verificar(mensagem));
  EXPECT_FALSE(mensagem);
  EXPECT_EQ(numero, 4);
  EXPECT_EQ(descricao.rfind("Falha ao ler a ultima versão do arquivo '" + kArquivoVersoes + "': ", 0), 0u)
      << descricao;
  EXPECT_NE(descricao.find("(Rotina: RetornarUltimaVersaoPrograma)"), std::string::npos);
  EXPECT_TRUE(falso.visao->caixas.empty());
}

TEST_F(VersoesTest, EmptyVersionFileFailsReadingTheSystemVersion) {
  CriarArquivoVersoes({});
  ProgramasAtuais();
  bool mensagem = true;
  EXPECT_FALSE(Verificar(mensagem));
  EXPECT_FALSE(mensagem);
  EXPECT_EQ(numero, 9);
  EXPECT_EQ(descricao.rfind("Falha ao ler a ultima versão do arquivo de versões: ", 0), 0u) << descricao;
  EXPECT_NE(descricao.find("(Rotina: RetornarUltimaVersaoSistema)"), std::string::npos);
}

// ---- the version file itself ---------------------------------------------------------------

TEST_F(VersoesTest, MissingVersionFileIsShownAndItsArticleOpensOnOk) {
  ProgramasAtuais();
  bool mensagem = false;
  EXPECT_FALSE(Verificar(mensagem));
  EXPECT_TRUE(mensagem);
  EXPECT_EQ(numero, 107719);
  ASSERT_EQ(falso.visao->caixas.size(), 1u);
  EXPECT_EQ(falso.visao->caixas[0].texto, kAbertura + "107719 - O arquivo '" + kDirT +
                                              "\\KEMVERSAO.BTR' não foi encontrado.\r\n\r\n" + kFechamento);
  EXPECT_EQ(falso.visao->caixas[0].titulo, "Tavoran - Atenção");
  EXPECT_EQ(falso.visao->caixas[0].icone, IconeCaixa::Informacao);
  ASSERT_EQ(falso.shell->abertos.size(), 1u);
  EXPECT_EQ(falso.shell->abertos[0].documento, "https://ajuda/versoes-ausente");
}

TEST_F(VersoesTest, DamagedVersionFileIsShownWithItsStatus) {
  for (std::int16_t status : {2, 30}) {
    falso.visao->caixas.clear();
    falso.arquivos->CriarArquivo(kArquivoVersoes, "lixo");
    falso.ambiente.btrieve = std::make_unique<testes::BtrieveInacessivel>(status);
    bool mensagem = false;
    EXPECT_FALSE(Verificar(mensagem));
    EXPECT_TRUE(mensagem);
    EXPECT_EQ(numero, status);
    ASSERT_EQ(falso.visao->caixas.size(), 1u);
    EXPECT_EQ(falso.visao->caixas[0].texto, kAbertura + "Erro " + std::to_string(status) +
                                                " - Falha na leitura do arquivo '" + kDirT +
                                                "\\KEMVERSAO.BTR'.\r\n\r\n" + kFechamento);
  }
}

TEST_F(VersoesTest, UnreachableEngineIsLeftToTheCallerWithItsStatus) {
  falso.arquivos->CriarArquivo(kArquivoVersoes, "");
  falso.ambiente.btrieve = std::make_unique<testes::BtrieveInacessivel>(3012);
  bool mensagem = true;
  EXPECT_FALSE(Verificar(mensagem));
  EXPECT_FALSE(mensagem);
  EXPECT_EQ(numero, 3012);
  EXPECT_EQ(descricao.rfind("Falha ao abrir o arquivo '" + kArquivoVersoes + "': ", 0), 0u) << descricao;
  EXPECT_NE(descricao.find("(Rotina: CriarAbrirKemVersao)"), std::string::npos);
  EXPECT_TRUE(falso.visao->caixas.empty());
}

TEST_F(VersoesTest, VersionFileHeldExclusivelyElsewhereIsAnOpenError) {
  CriarArquivoVersoesPadrao();
  ProgramasAtuais();
  motor->exclusivosDeOutros.insert(Maiusculas(kArquivoVersoes));
  bool mensagem = true;
  EXPECT_FALSE(Verificar(mensagem));
  EXPECT_FALSE(mensagem);
  EXPECT_EQ(numero, 88);
}

}  // namespace
}  // namespace tavoran
