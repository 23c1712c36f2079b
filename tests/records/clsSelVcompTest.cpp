#include "records/clsSelVcomp.h"

#include <gtest/gtest.h>

#include "platform/Texto.h"
#include "tests/fakes/Falsos.h"
#include "tests/fakes/MotorBtrieveFalso.h"

namespace tavoran {
namespace {

const std::string kArquivo = "P:\\SUITE\\SELVCOMP.BTR";

class StatusComponentes : public ::testing::Test {
 protected:
  StatusComponentes() {
    arquivos.CriarPastas("P:\\SUITE");
    motor.espelho = &arquivos;
    status.Diretorio("P:\\SUITE");
  }
  void CriarEAbrir() {
    ASSERT_TRUE(status.Criar()) << status.ErroDescricao();
    ASSERT_TRUE(status.Abrir(0, "")) << status.ErroDescricao();
  }
  void Inserir(const std::string& maquina, const std::string& forcar = "0") {
    status.AdicionarNovo();
    status.Maquina(maquina);
    status.Status("1");
    status.Data("20261208");
    status.Hora("09:05:07");
    status.Usuario("joao");
    status.ForcarAtualizaComponentes(forcar);
    ASSERT_TRUE(status.Gravar()) << status.ErroDescricao();
  }

  testes::ArquivosFalsos arquivos;
  testes::MotorBtrieveFalso motor;
  clsSelVcomp status{motor, arquivos};
};

TEST_F(StatusComponentes, FileLivesInTheMainDirectoryWithItsLayout) {
  EXPECT_EQ(status.Arquivo(), kArquivo);
  EXPECT_FALSE(status.ArquivoExiste());
  CriarEAbrir();
  EXPECT_TRUE(status.ArquivoExiste());
  const auto& f = motor.arquivos.at(kArquivo);
  EXPECT_EQ(f.tamanhoRegistro, 256u);
  EXPECT_EQ(f.tamanhoPagina, 4096);
  ASSERT_EQ(f.chaves.size(), 1u);
  EXPECT_EQ(f.chaves[0].segmentos[0].tamanho, 30u);
}

TEST_F(StatusComponentes, MissingPathOrFileFailsWithOwnCodesAndCallsNothing) {
  clsSelVcomp semDiretorio(motor, arquivos);
  EXPECT_FALSE(semDiretorio.Criar());
  EXPECT_EQ(semDiretorio.ErroNumero(), 103976);
  EXPECT_EQ(semDiretorio.ErroDescricao(), "Caminho e/ou nome do arquivo não informado(s).");
  EXPECT_FALSE(semDiretorio.Abrir(0, ""));
  EXPECT_EQ(semDiretorio.ErroNumero(), 103977);
  EXPECT_FALSE(status.Abrir(0, ""));
  EXPECT_EQ(status.ErroNumero(), 103978);
  EXPECT_EQ(status.ErroDescricao(), "O arquivo \"P:\\SUITE\\SELVCOMP.BTR\" não existe.");
  EXPECT_EQ(motor.chamadas, 0);
}

TEST_F(StatusComponentes, AnOpenRightAfterTheExistenceTestLooksTheShareUpOnce) {
  ASSERT_TRUE(status.Criar()) << status.ErroDescricao();
  const std::string caminho = testes::ArquivosFalsos::Normalizar(kArquivo);
  arquivos.listagens.clear();
  ASSERT_TRUE(status.ArquivoExiste());
  ASSERT_TRUE(status.Abrir(0, "")) << status.ErroDescricao();
  EXPECT_EQ(arquivos.listagens[caminho], 1);
  ASSERT_TRUE(status.Fechar());
  ASSERT_TRUE(status.Abrir(0, "")) << status.ErroDescricao();  // no test of its own before it
  EXPECT_EQ(arquivos.listagens[caminho], 2);
}

TEST_F(StatusComponentes, RecordIsInsertedReadByMachineAndUpdated) {
  CriarEAbrir();
  Inserir("WS07");
  Inserir("WS08");
  status.MontarChave0("WS07");
  EXPECT_EQ(status.Chave(), "WS07" + std::string(26, ' '));
  EXPECT_EQ(status.ChaveNumero(), 0);
  ASSERT_TRUE(status.Ler(5)) << status.ErroDescricao();
  EXPECT_EQ(Aparar(status.Maquina()), "WS07");
  EXPECT_EQ(status.Maquina().size(), 30u);
  EXPECT_EQ(status.Data(), "20261208");
  EXPECT_EQ(status.Hora(), "09:05:07");
  EXPECT_EQ(status.Usuario(), "joao" + std::string(16, ' '));
  status.ForcarAtualizaComponentes("1");
  ASSERT_TRUE(status.Gravar()) << status.ErroDescricao();  // an update after Ler
  const auto registros = motor.Registros(kArquivo);
  ASSERT_EQ(registros.size(), 2u);
  EXPECT_EQ(registros[0], "WS07" + std::string(26, ' ') + "120261208" + "09:05:07" + "joao" + std::string(16, ' ') +
                              "1" + std::string(188, ' '));
  EXPECT_EQ(registros[1][67], '0');
}

TEST_F(StatusComponentes, LongMachineNamesAreStoredAndSearchedByTheirFirst30) {
  CriarEAbrir();
  const std::string longo = "ESTACAO-DE-TRABALHO-DO-SETOR-FINANCEIRO";
  Inserir(longo);
  status.MontarChave0(longo.substr(0, 30) + "-OUTRA");
  ASSERT_TRUE(status.Ler(5));
  EXPECT_EQ(status.Maquina(), longo.substr(0, 30));
}

TEST_F(StatusComponentes, WritingAShorterValueLeavesNoTraceOfTheLongerOne) {
  status.AdicionarNovo();
  status.Usuario("administrador");
  status.Usuario("ab");
  EXPECT_EQ(status.Usuario(), "ab" + std::string(18, ' '));
  EXPECT_EQ(status.Imagem(), std::string(47, ' ') + "ab" + std::string(207, ' '));
}

TEST_F(StatusComponentes, NulBytesOfAStoredRecordReadAsBlanks) {
  CriarEAbrir();
  std::string registro = "WS09" + std::string(26, ' ') + "1" + std::string(225, '\0');
  motor.arquivos.at(kArquivo).registros[99] = registro;
  status.MontarChave0("WS09");
  ASSERT_TRUE(status.Ler(5));
  EXPECT_EQ(status.Imagem(), "WS09" + std::string(26, ' ') + "1" + std::string(225, ' '));
  EXPECT_EQ(status.Data(), std::string(8, ' '));
}

TEST_F(StatusComponentes, FailedReadBlanksTheRecordAndKeepsTheEngineStatus) {
  CriarEAbrir();
  Inserir("WS07");
  status.MontarChave0("WS99");
  EXPECT_FALSE(status.Ler(5));
  EXPECT_EQ(status.ErroNumero(), 4);
  EXPECT_EQ(status.ErroDescricao(), "A aplicação não encontrou o valor da chave.");
  EXPECT_EQ(status.Imagem(), std::string(256, ' '));
  // The flag was cleared by Ler: Gravar now updates, and there is no current record.
  status.Maquina("WS99");
  EXPECT_FALSE(status.Gravar());
  EXPECT_EQ(status.ErroNumero(), 8);
  EXPECT_EQ(motor.Registros(kArquivo).size(), 1u);
}

TEST_F(StatusComponentes, ValidationRunsInOrderAndWritesNothing) {
  CriarEAbrir();
  struct Caso {
    std::string maquina, data, hora;
    std::int32_t codigo;
  };
  const std::vector<Caso> casos = {
      {"  ", "2026xx08", "9", 103979},       {"WS07", "20260230", "25:61", 103995}, {"WS07", "20261308", "", 103995},
      {"WS07", "20261200", "", 103995},      {"WS07", "20250229", "", 103995},      {"WS07", "20261208", "09-05-07", 103996},
      {"WS07", "20261208", "9:05:07", 103996}, {"WS07", "", "ab:cd:ef", 103996},
  };
  for (const Caso& c : casos) {
    status.AdicionarNovo();
    status.Maquina(c.maquina);
    status.Data(c.data);
    status.Hora(c.hora);
    EXPECT_FALSE(status.Gravar()) << c.maquina << c.data << c.hora;
    EXPECT_EQ(status.ErroNumero(), c.codigo) << c.data << " " << c.hora;
  }
  EXPECT_TRUE(motor.Registros(kArquivo).empty());
  EXPECT_EQ(status.ErroDescricao(), "O conteúdo do campo 'Hora', é inválido.");
  status.AdicionarNovo();
  status.Maquina("WS07");
  EXPECT_TRUE(status.Gravar()) << status.ErroDescricao();  // blank date and time are accepted
  EXPECT_EQ(status.ErroNumero(), 0);
  EXPECT_TRUE(DataRegistroValida("20240229"));
  EXPECT_TRUE(DataRegistroValida(std::string("2024\0" "0229", 9)));
}

TEST_F(StatusComponentes, ExclusiveHolderAnswers88OnOpen) {
  ASSERT_TRUE(status.Criar());
  motor.exclusivosDeOutros.insert(kArquivo);
  EXPECT_FALSE(status.Abrir(0, ""));
  EXPECT_EQ(status.ErroNumero(), 88);
  EXPECT_EQ(status.ErroDescricao(), "A aplicação encontrou um erro de modo incompatível.");
}

TEST_F(StatusComponentes, DeleteRemovesTheRecordJustRead) {
  CriarEAbrir();
  Inserir("WS07");
  Inserir("WS08");
  status.MontarChave0("WS07");
  ASSERT_TRUE(status.Ler(5));
  ASSERT_TRUE(status.Excluir());
  ASSERT_EQ(motor.Registros(kArquivo).size(), 1u);
  EXPECT_EQ(Aparar(motor.Registros(kArquivo)[0].substr(0, 30)), "WS08");
  EXPECT_EQ(status.Complementos().QuantidadeRegistros(), 1);
  ASSERT_TRUE(status.Fechar());
  EXPECT_FALSE(status.Fechar());
  EXPECT_EQ(status.ErroNumero(), 3);
}

}  // namespace
}  // namespace tavoran
