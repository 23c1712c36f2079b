#include <gtest/gtest.h>

#include "reports/NomesRelatorio.h"
#include "reports/clsNKemRyxLog.h"
#include "tests/fakes/Falsos.h"
#include "tests/reports/Golden.h"

namespace tavoran::testes {
namespace {

constexpr const char* kPasta = "P:\\Tavoran.win\\Logs\\RYX";
constexpr const char* kArquivo = "P:\\Tavoran.win\\Logs\\RYX\\ESTACAO01 (2026-12-08_09-05-07).HTML";

class RelatorioAtualizacao : public ::testing::Test {
 protected:
  RelatorioAtualizacao() {
    arquivos.CriarPastas(kPasta);
    log.Arquivo(kArquivo);
  }
  std::string Conteudo() const { return arquivos.Conteudo(kArquivo); }

  ArquivosFalsos arquivos;
  RelogioFalso relogio;
  clsNKemRyxLog log{arquivos, relogio};
};

TEST_F(RelatorioAtualizacao, RowsOfSuccessAndFailureWithANoticeBetweenMatchTheGoldenFile) {
  EXPECT_TRUE(log.GravarLog("Componente 'a<b>&\"c\".dll' copiado para C:\\Windows\\SysWOW64", 0, ""));
  relogio.agora.segundo = 9;
  EXPECT_TRUE(log.GravarLog("Registro do componente Ação.ocx", 3012, "Erro X"));
  EXPECT_TRUE(log.GravarAlerta("Atenção: reinicie & confira"));
  EXPECT_TRUE(log.GravarLog("Atualização concluída", 0, "descrição ignorada"));
  EXPECT_EQ(log.LogsGravados(), 3);
  EXPECT_TRUE(log.FecharLog());
  EXPECT_EQ(Conteudo(), LerGolden("atualizacao_ok_erro.html"));
  EXPECT_EQ(log.ErroNumero(), 0);
  EXPECT_EQ(log.ErroDescricao(), "");
}

TEST_F(RelatorioAtualizacao, ANoticeOnlyReportHasNoTableAndNoClosingTags) {
  EXPECT_TRUE(log.FecharLog());  // nothing written yet: no file is created
  EXPECT_FALSE(arquivos.ExisteArquivo(kArquivo));
  EXPECT_TRUE(log.GravarAlerta("A verificação foi executada com sucesso. Nenhum componente precisou ser atualizado."));
  EXPECT_EQ(log.LogsGravados(), 0);
  EXPECT_TRUE(log.FecharLog());
  EXPECT_EQ(Conteudo(), LerGolden("atualizacao_alerta.html"));
}

TEST_F(RelatorioAtualizacao, ClosingTwiceWritesTheClosingTagsOnce) {
  ASSERT_TRUE(log.GravarLog("x", 0, ""));
  EXPECT_TRUE(log.FecharLog());
  const std::string fechado = Conteudo();
  EXPECT_TRUE(log.FecharLog());
  EXPECT_EQ(Conteudo(), fechado);
  EXPECT_EQ(fechado.substr(fechado.size() - 28), "</table>\r\n</body>\r\n</html>\r\n");
}

TEST_F(RelatorioAtualizacao, DestroyingTheWriterClosesTheDocument) {
  {
    clsNKemRyxLog outro(arquivos, relogio);
    outro.Arquivo("P:\\Tavoran.win\\Logs\\RYX\\outro.HTML");
    ASSERT_TRUE(outro.GravarLog("x", 0, ""));
  }
  const std::string c = arquivos.Conteudo("P:\\Tavoran.win\\Logs\\RYX\\outro.HTML");
  EXPECT_EQ(c.substr(c.size() - 9), "</html>\r\n");
}

TEST_F(RelatorioAtualizacao, AMissingFolderFailsTheWriteWithTheOpeningErrorAndCountsNothing) {
  log.Arquivo("P:\\Tavoran.win\\Logs\\Nada\\x.HTML");
  EXPECT_FALSE(log.GravarLog("x", 0, ""));
  EXPECT_EQ(log.ErroNumero(), 76);
  EXPECT_EQ(log.ErroDescricao(), "Caminho não encontrado (Rotina: AbrirLog)");
  EXPECT_EQ(log.LogsGravados(), 0);
  EXPECT_FALSE(log.GravarAlerta("aviso"));
  EXPECT_EQ(log.ErroNumero(), 76);
  EXPECT_TRUE(log.FecharLog());
}

TEST_F(RelatorioAtualizacao, AReadOnlyFolderFailsTheWriteAndASuccessfulCallClearsTheError) {
  arquivos.somenteLeitura.insert(ArquivosFalsos::Normalizar(kPasta));
  EXPECT_FALSE(log.GravarLog("x", 0, ""));
  EXPECT_EQ(log.ErroNumero(), 75);
  EXPECT_FALSE(arquivos.ExisteArquivo(kArquivo));
  arquivos.somenteLeitura.clear();
  EXPECT_TRUE(log.GravarLog("x", 0, ""));
  EXPECT_EQ(log.ErroNumero(), 0);
  EXPECT_EQ(log.LogsGravados(), 1);
}

// A file system whose opened files stop accepting writes after a number of lines.
class ArquivosQueFalham : public ArquivosFalsos {
 public:
  int escritasPermitidas = 1000;
  Falha AbrirParaAcrescentar(const std::string& arquivo, std::unique_ptr<IArquivoAberto>& aberto) override {
    std::unique_ptr<IArquivoAberto> real;
    const Falha f = ArquivosFalsos::AbrirParaAcrescentar(arquivo, real);
    if (!f.Ocorreu()) aberto = std::make_unique<Limitado>(std::move(real), escritasPermitidas);
    return f;
  }

 private:
  class Limitado : public IArquivoAberto {
   public:
    Limitado(std::unique_ptr<IArquivoAberto> real, int& restantes) : real_(std::move(real)), restantes_(restantes) {}
    Falha Escrever(const std::string& bytes) override {
      if (restantes_-- <= 0) return {61, "Disco cheio"};
      return real_->Escrever(bytes);
    }

   private:
    std::unique_ptr<IArquivoAberto> real_;
    int& restantes_;
  };
};

TEST(RelatorioAtualizacaoFalhas, AWriteFailureInTheHeadOrInARowIsReportedWithItsRoutine) {
  ArquivosQueFalham arquivos;
  RelogioFalso relogio;
  arquivos.CriarPastas(kPasta);
  clsNKemRyxLog log(arquivos, relogio);
  log.Arquivo(kArquivo);
  arquivos.escritasPermitidas = 3;
  EXPECT_FALSE(log.GravarLog("x", 0, ""));
  EXPECT_EQ(log.ErroNumero(), 61);
  EXPECT_EQ(log.ErroDescricao(), "Disco cheio (Rotina: GravarInicioHtml)");
  EXPECT_EQ(log.LogsGravados(), 0);

  clsNKemRyxLog outro(arquivos, relogio);
  outro.Arquivo("P:\\Tavoran.win\\Logs\\RYX\\b.HTML");
  arquivos.escritasPermitidas = 71 + 7 + 2;
  EXPECT_FALSE(outro.GravarLog("x", 0, ""));
  EXPECT_EQ(outro.ErroDescricao(), "Disco cheio (Rotina: GravarLog)");
  EXPECT_EQ(outro.LogsGravados(), 0);
  arquivos.escritasPermitidas = 0;
  EXPECT_FALSE(outro.GravarAlerta("x"));
  EXPECT_EQ(outro.ErroDescricao(), "Disco cheio (Rotina: GravarAlerta)");
}

TEST(NomesRelatorio, TheStampedNameMatchesThePatternOfItsComputerOnly) {
  ArquivosFalsos arquivos;
  arquivos.CriarPastas(kPasta);
  const std::string nome = NomeArquivoRelatorio(kPasta, "ESTACAO01", {2026, 1, 2, 3, 4, 5});
  EXPECT_EQ(nome, "P:\\Tavoran.win\\Logs\\RYX\\ESTACAO01 (2026-01-02_03-04-05).HTML");
  arquivos.CriarArquivo(nome);
  arquivos.CriarArquivo(NomeArquivoRelatorio(kPasta, "ESTACAO012", {2026, 1, 2, 3, 4, 5}));
  arquivos.CriarArquivo(std::string(kPasta) + "\\ESTACAO01 (copia).txt");
  const auto lista = arquivos.Listar(PadraoRelatoriosComputador(kPasta, "ESTACAO01"));
  ASSERT_EQ(lista.size(), 1u);
  EXPECT_EQ(lista[0].nome, "ESTACAO01 (2026-01-02_03-04-05).HTML");
}

}  // namespace
}  // namespace tavoran::testes
