// The access class on the real engine: what it sends and reads back (Create with -1,
// Open, Stat getters, version, reads with a lock bias, update retries) fits the engine.
#include <gtest/gtest.h>

#include "btrieve/clsTavBtr20.h"
#include "engine/MotorBtrieve.h"
#include "tests/engine/Auxiliar.h"
#include "tests/fakes/Falsos.h"

namespace tavoran::testes {
namespace {

// The version file's seven keys over 18 segments.
const char* kDefinicaoVersao =
    "/1/14/DF/79/64/DMS/1/14/DMF/143/14/DMS/79/64/DMS/1/14/DMF/189/8/DMS/79/64/DMS/1/14/DMF/197/8/DMS/79/64/DMS/"
    "1/14/DMF/79/64/DMS/143/14/DMS/157/32/DMS/189/8/DMS/197/8/DMF/462/19/DF/";

class AcessoMotorReal : public ::testing::Test {
 protected:
  PastaTemporaria pasta;
  std::string nome = pasta.Arquivo("SSSVERSAO.DAT");
  MotorBtrieve motor;
  ArquivosFalsos arquivos;

  std::string Registro(const std::string& sistema, const std::string& arquivo, const std::string& extra) {
    std::string r(1024, ' ');
    r.replace(0, sistema.size(), sistema);
    r.replace(78, arquivo.size(), arquivo);
    r.replace(300, extra.size(), extra);
    return r;
  }
};

TEST_F(AcessoMotorReal, ArquivoDeVersaoCriadoLidoEDescritoPelasEstatisticas) {
  clsTavBtr20 a(motor, arquivos);
  ASSERT_TRUE(a.Criar(nome, 1024, 1024, 7, kDefinicaoVersao)) << a.Erro().Descricao();
  EXPECT_FALSE(a.Criar(nome, 1024, 1024, 7, kDefinicaoVersao));
  EXPECT_EQ(a.Erro().Numero(), 59);
  arquivos.CriarArquivo(nome);
  ASSERT_TRUE(a.Abrir(nome)) << a.Erro().Descricao();
  a.Buffer(Registro("8.0.1", "KEM.EXE", "primeiro"));
  ASSERT_TRUE(a.Inserir());
  a.Buffer(Registro("8.0.1", "TAVORAN.EXE", "segundo"));
  ASSERT_TRUE(a.Inserir());
  EXPECT_EQ(a.QuantidadeRegistros(), 2);
  EXPECT_EQ(a.TamanhoBuffer(), 1024);
  EXPECT_EQ(a.QuantidadeChaves(), 7);
  EXPECT_EQ(a.TamanhoChave(0), 14);
  EXPECT_EQ(a.TamanhoChave(1), 78);
  EXPECT_EQ(a.QuantidadeSegmentos(2), 3);
  EXPECT_EQ(a.QuantidadeSegmentos(5), 5);
  EXPECT_EQ(a.TamanhoChave(5), 64 + 14 + 32 + 8 + 8);
  EXPECT_EQ(a.TamanhoChave(6), 19);
  EXPECT_EQ(a.VersaoBtrieve(), "7.90");

  std::string chave1 = std::string(64, ' ');
  chave1.replace(0, 11, "TAVORAN.EXE");
  a.NumeroChave(1);
  a.Chave(chave1 + "8.0.1" + std::string(9, ' '));
  ASSERT_TRUE(a.Ler(OperacaoBtrieve::kObterIgual)) << a.Erro().Descricao();
  EXPECT_EQ(a.Buffer().size(), 4088u);
  EXPECT_EQ(a.Buffer().substr(300, 7), "segundo");
  a.Buffer(Registro("8.0.1", "TAVORAN.EXE", "alterado"));
  ASSERT_TRUE(a.Alterar());
  a.NumeroChave(0);
  a.Chave("8.0.1");
  ASSERT_TRUE(a.Ler(OperacaoBtrieve::kObterIgual));
  EXPECT_EQ(a.Buffer().substr(300, 8), "primeiro");
  ASSERT_TRUE(a.Ler(OperacaoBtrieve::kObterProximo));
  EXPECT_EQ(a.Buffer().substr(300, 8), "alterado");
  EXPECT_FALSE(a.Ler(OperacaoBtrieve::kObterProximo));
  EXPECT_EQ(a.Erro().Numero(), 9);
  EXPECT_TRUE(a.Fechar());
  EXPECT_EQ(TavMotorVerificar(nome.c_str()), 0);
}

TEST_F(AcessoMotorReal, BloqueioExclusivoEBloqueioDeRegistroEntreDoisObjetos) {
  clsTavBtr20 a(motor, arquivos), b(motor, arquivos);
  ASSERT_TRUE(a.Criar(nome, 256, 1024, 1, "/1/30/F/"));
  arquivos.CriarArquivo(nome);
  a.ModoAbertura(OperacaoBtrieve::kModoExclusivo);
  ASSERT_TRUE(a.Abrir(nome));
  EXPECT_FALSE(b.Abrir(nome));
  EXPECT_EQ(b.Erro().Numero(), 88);
  a.Buffer(std::string(30, 'K') + std::string(226, ' '));
  ASSERT_TRUE(a.Inserir());
  ASSERT_TRUE(a.Fechar());
  a.ModoAbertura(0);
  ASSERT_TRUE(a.Abrir(nome));
  ASSERT_TRUE(b.Abrir(nome));
  a.Espera(200);
  a.Chave(std::string(30, 'K'));
  ASSERT_TRUE(a.Ler(OperacaoBtrieve::kObterIgual));
  b.Chave(std::string(30, 'K'));
  ASSERT_TRUE(b.Ler(OperacaoBtrieve::kObterIgual));
  b.Buffer(std::string(30, 'K') + "de b" + std::string(222, ' '));
  EXPECT_FALSE(b.Alterar());  // 84 twenty-one times, then the own code
  EXPECT_EQ(b.Erro().Numero(), 100072);
  ASSERT_TRUE(a.Desbloquear());
  EXPECT_TRUE(b.Alterar());
}

}  // namespace
}  // namespace tavoran::testes
