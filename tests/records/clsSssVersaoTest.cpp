#include "records/clsSssVersao.h"

#include <gtest/gtest.h>

#include "platform/Texto.h"
#include "tests/fakes/Falsos.h"
#include "tests/fakes/MotorBtrieveFalso.h"

namespace tavoran {
namespace {

class ArquivoVersao : public ::testing::Test {
 protected:
  ArquivoVersao() {
    arquivos.CriarPastas("P:\\DADOS");
    motor.espelho = &arquivos;
    versao.Diretorio("P:\\DADOS");
    versao.Sistema("KEM");
  }
  void CriarEAbrir() {
    ASSERT_TRUE(versao.Criar()) << versao.ErroDescricao();
    ASSERT_TRUE(versao.Abrir(0, "")) << versao.ErroDescricao();
  }
  void Inserir(const std::string& sistema, const std::string& nome, const std::string& programa,
               const std::string& ordenacao) {
    versao.AdicionarNovo();
    versao.VersaoSistema(sistema);
    versao.NomeProgramaArquivo(nome);
    versao.VersaoPrograma(programa);
    versao.VersaoOrdenacao(ordenacao);
    versao.Observacao("versão " + programa);
    ASSERT_TRUE(versao.Gravar()) << versao.ErroDescricao();
  }

  testes::ArquivosFalsos arquivos;
  testes::MotorBtrieveFalso motor;
  clsSssVersao versao{motor, arquivos};
};

TEST_F(ArquivoVersao, FileNameFollowsDirectoryAndSystem) {
  EXPECT_EQ(versao.Arquivo(), "P:\\DADOS\\KEMVERSAO.BTR");
  versao.Sistema("SSS");
  EXPECT_EQ(versao.Arquivo(), "P:\\DADOS\\SSSVERSAO.BTR");
}

TEST_F(ArquivoVersao, CreatesSevenKeysFromTheEighteenSegments) {
  CriarEAbrir();
  const auto& f = motor.arquivos.at("P:\\DADOS\\KEMVERSAO.BTR");
  EXPECT_EQ(f.tamanhoRegistro, 1024u);
  ASSERT_EQ(f.chaves.size(), 7u);
  EXPECT_EQ(f.chaves[5].segmentos.size(), 5u);
  EXPECT_EQ(versao.Complementos().QuantidadeChaves(), 7);
  EXPECT_EQ(versao.Complementos().TamanhoChave(5), 64 + 14 + 32 + 8 + 8);
  EXPECT_EQ(versao.Complementos().QuantidadeSegmentos(2), 3);
}

TEST_F(ArquivoVersao, FieldsAreCutAndPaddedToTheirWidths) {
  versao.AdicionarNovo();
  versao.VersaoPrograma("12345678901234567890");
  EXPECT_EQ(versao.VersaoPrograma(), "12345678901234");
  versao.Observacao("abc");
  EXPECT_EQ(versao.Observacao(), "abc" + std::string(252, ' '));
  versao.Boletim("B-1");
  EXPECT_EQ(versao.Imagem().size(), 1024u);
  EXPECT_EQ(versao.Imagem().substr(480, 8), "B-1     ");
  versao.Observacao("ação");  // one byte per letter in the record
  EXPECT_EQ(versao.Imagem().substr(204, 4), "a\xE7\xE3o");
  EXPECT_EQ(versao.Observacao().substr(0, 6), "ação");
}

TEST_F(ArquivoVersao, GetLastOnKey6FindsTheLatestReleaseAndKey1FindsAProgram) {
  CriarEAbrir();
  Inserir("8.0", "TAVORAN.EXE", "8.0.0.1", "0008.0000.0000.0001");
  Inserir("8.0", "TAVORAN.EXE", "8.2.0.0", "0008.0002.0000.0000");
  Inserir("8.0", "KEM.EXE", "8.1.0.0", "0008.0001.0000.0000");
  versao.MontarChave6("");
  EXPECT_EQ(versao.Chave(), std::string(19, ' '));
  ASSERT_TRUE(versao.Ler(13)) << versao.ErroDescricao();
  EXPECT_EQ(Aparar(versao.VersaoPrograma()), "8.2.0.0");
  versao.MontarChave1("KEM.EXE", "8.0");
  EXPECT_EQ(versao.Chave().size(), 78u);
  EXPECT_EQ(versao.ChaveNumero(), 1);
  ASSERT_TRUE(versao.Ler(5));
  EXPECT_EQ(Aparar(versao.VersaoPrograma()), "8.1.0.0");
  EXPECT_EQ(Aparar(versao.Observacao()), "versão 8.1.0.0");
  versao.MontarChave1("NADA.EXE", "8.0");
  EXPECT_FALSE(versao.Ler(5));
  EXPECT_EQ(versao.VersaoPrograma(), std::string(14, ' '));
  EXPECT_EQ(versao.Imagem(), std::string(1024, ' '));
}

TEST_F(ArquivoVersao, KeyBuildersJoinTheirPiecesInKeyOrder) {
  versao.MontarChave5("A", "B", "C", "D", "E");
  EXPECT_EQ(versao.Chave(), "A" + std::string(63, ' ') + "B" + std::string(13, ' ') + "C" + std::string(31, ' ') +
                                "D       E       ");
  EXPECT_EQ(versao.ChaveNumero(), 5);
  versao.MontarChave3("20260101", "X", "8");
  EXPECT_EQ(versao.Chave().substr(0, 9), "20260101X");
  EXPECT_EQ(versao.ChaveNumero(), 3);
}

TEST_F(ArquivoVersao, OwnCodesForMissingPathAndFile) {
  clsSssVersao vazio(motor, arquivos);
  EXPECT_FALSE(vazio.Criar());
  EXPECT_EQ(vazio.ErroNumero(), 100089);
  EXPECT_FALSE(vazio.Abrir(0, ""));
  EXPECT_EQ(vazio.ErroNumero(), 100087);
  EXPECT_EQ(vazio.ErroDescricao(), "Caminho e/ou nome do arquivo não informados.");
  EXPECT_FALSE(versao.Abrir(0, ""));
  EXPECT_EQ(versao.ErroNumero(), 100088);
  EXPECT_EQ(versao.ErroDescricao(), "O arquivo \"P:\\DADOS\\KEMVERSAO.BTR\" não existe.");
  ASSERT_TRUE(versao.Criar());
  EXPECT_FALSE(versao.Criar());
  EXPECT_EQ(versao.ErroNumero(), 59);
}

}  // namespace
}  // namespace tavoran
