#include "tools/tavadmin/ComandosTavadmin.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "tests/fakes/Falsos.h"
#include "tests/fakes/MotorBtrieveFalso.h"
#include "tools/tavadmin/ManifestoVersao.h"

namespace tavoran::tavadmin {
namespace {

using ::testing::HasSubstr;

const std::string kStatus = "P:\\SUITE\\SELVCOMP.BTR";
const std::string kVersao = "P:\\SUITE\\KEMVERSAO.BTR";
const std::string kCabecalho =
    "VersaoSistema;CaminhoProgramaArquivo;NomeProgramaArquivo;VersaoPrograma;hash;RegDataCriacao;"
    "RegDataUltAlteracao;Observacao;Funcionando;Beta;VersaoOrdenacao;Boletim\r\n";

class Tavadmin : public ::testing::Test {
 protected:
  Tavadmin() {
    arquivos.CriarPastas("P:\\SUITE");
    motor.espelho = &arquivos;
  }
  int Rodar(std::vector<std::string> argumentos) {
    saida.str("");
    erros.str("");
    Contexto c{motor, arquivos, saida, erros, estrutura};
    return Executar(argumentos, c);
  }
  void PrepararEstacoes() {
    ASSERT_EQ(Rodar({"gravar-estacao", "P:\\SUITE", "ws07", "1", "20261208", "09:05:07", "joao", "0"}), 0)
        << erros.str();
    ASSERT_EQ(Rodar({"gravar-estacao", "P:\\SUITE", "WS08", "1", "20261207", "18:00:00", "maria", "1"}), 0)
        << erros.str();
  }
  std::string Manifesto(const std::vector<std::string>& linhas) {
    std::string m = kCabecalho;
    for (const auto& l : linhas) m += l + "\r\n";
    return m;
  }
  void Importar(const std::string& manifesto, int esperado) {
    arquivos.CriarArquivo("P:\\m.csv", manifesto);
    EXPECT_EQ(Rodar({"importar", "P:\\SUITE", "P:\\m.csv"}), esperado) << erros.str();
  }

  testes::ArquivosFalsos arquivos;
  testes::MotorBtrieveFalso motor;
  std::ostringstream saida, erros;
  std::function<int(const std::string&)> estrutura;
};

const std::string kEntrada1 = "8.0;\\KEM;TAVORAN.EXE;8.0.0.1;abc;20260101;20260102;primeira;1;0;0008.0000.0000.0001;B1";
const std::string kEntrada2 = "8.0;\\KEM;KEM.EXE;8.1.0.0;def;20260101;20260102;\"com ; e \"\"aspas\"\"\";1;0;0008.0001;B2";

TEST_F(Tavadmin, UsageErrorsExitWith2) {
  EXPECT_EQ(Rodar({}), kSaidaUso);
  EXPECT_THAT(erros.str(), HasSubstr("uso: tavadmin"));
  EXPECT_EQ(Rodar({"apagar-tudo"}), kSaidaUso);
  EXPECT_THAT(erros.str(), HasSubstr("comando desconhecido"));
  EXPECT_EQ(Rodar({"forcar", "P:\\SUITE", "WS07"}), kSaidaUso);
  EXPECT_EQ(Rodar({"ajuda"}), kSaidaOk);
}

TEST_F(Tavadmin, ListsTheWorkstationsOfTheStatusFile) {
  PrepararEstacoes();
  ASSERT_EQ(Rodar({"estacoes", "P:\\SUITE"}), 0) << erros.str();
  EXPECT_THAT(saida.str(), HasSubstr("WS07                           1      20261208 09:05:07 joao"));
  EXPECT_THAT(saida.str(), HasSubstr("WS08                           1      20261207 18:00:00 maria                1\n"));
  EXPECT_THAT(saida.str(), HasSubstr("2 estações."));
}

TEST_F(Tavadmin, ForceFlagIsSetAndClearedOnTheNamedWorkstationOnly) {
  PrepararEstacoes();
  ASSERT_EQ(Rodar({"forcar", "P:\\SUITE", "ws07", "1"}), 0) << erros.str();
  EXPECT_THAT(saida.str(), HasSubstr("Estação WS07: atualização forçada ligada."));
  auto registros = motor.Registros(kStatus);
  EXPECT_EQ(registros[0][67], '1');
  ASSERT_EQ(Rodar({"forcar", "P:\\SUITE", "WS08", "0"}), 0);
  registros = motor.Registros(kStatus);
  EXPECT_EQ(registros[1][67], '0');
  EXPECT_EQ(registros[1].substr(47, 5), "maria");
}

TEST_F(Tavadmin, BadInputFailsWithAMessageAndChangesNothing) {
  PrepararEstacoes();
  const auto antes = motor.Registros(kStatus);
  EXPECT_EQ(Rodar({"forcar", "P:\\SUITE", "WS99", "1"}), kSaidaFalha);
  EXPECT_THAT(erros.str(), HasSubstr("A estação \"WS99\" não está no arquivo"));
  EXPECT_EQ(Rodar({"forcar", "P:\\SUITE", "WS07", "sim"}), kSaidaFalha);
  EXPECT_EQ(Rodar({"remover", "P:\\SUITE", "WS99"}), kSaidaFalha);
  EXPECT_EQ(Rodar({"gravar-estacao", "P:\\SUITE", "WS09", "1", "20260231", "", "ana", "0"}), kSaidaFalha);
  EXPECT_THAT(erros.str(), HasSubstr("A data do campo 'Data', é inválida."));
  EXPECT_EQ(Rodar({"estacoes", "P:\\OUTRA"}), kSaidaFalha);
  EXPECT_THAT(erros.str(), HasSubstr("O arquivo \"P:\\OUTRA\\SELVCOMP.BTR\" não existe."));
  EXPECT_EQ(motor.Registros(kStatus), antes);
}

TEST_F(Tavadmin, RemovesAWorkstationRecord) {
  PrepararEstacoes();
  ASSERT_EQ(Rodar({"remover", "P:\\SUITE", "WS07"}), 0) << erros.str();
  ASSERT_EQ(motor.Registros(kStatus).size(), 1u);
  EXPECT_EQ(motor.Registros(kStatus)[0].substr(0, 4), "WS08");
}

TEST_F(Tavadmin, FileHeldExclusivelyIsReportedAsSuch) {
  PrepararEstacoes();
  motor.exclusivosDeOutros.insert(kStatus);
  EXPECT_EQ(Rodar({"forcar", "P:\\SUITE", "WS07", "1"}), kSaidaFalha);
  EXPECT_THAT(erros.str(), HasSubstr("está aberto em modo exclusivo por outro processo (status 88)"));
  EXPECT_EQ(motor.Registros(kStatus)[0][67], '0');
}

TEST_F(Tavadmin, ImportsAManifestAndListsItBackIdentically) {
  Importar(Manifesto({kEntrada1, kEntrada2}), 0);
  EXPECT_THAT(saida.str(), HasSubstr("2 entradas importadas em \"P:\\SUITE\\KEMVERSAO.BTR\"."));
  ASSERT_EQ(Rodar({"versoes", "P:\\SUITE"}), 0) << erros.str();
  EXPECT_EQ(saida.str(), Manifesto({kEntrada2, kEntrada1}));  // in the order of key 1
  EXPECT_FALSE(motor.Aberto(kVersao));
}

TEST_F(Tavadmin, ImportReplacesTheWholeContent) {
  Importar(Manifesto({kEntrada1, kEntrada2}), 0);
  Importar(Manifesto({kEntrada1}), 0);
  EXPECT_EQ(motor.Registros(kVersao).size(), 1u);
}

TEST_F(Tavadmin, MalformedManifestWritesNothing) {
  Importar(Manifesto({kEntrada1}), 0);
  const auto antes = motor.Registros(kVersao);
  const int chamadas = motor.chamadas;
  Importar(Manifesto({kEntrada1, "8.0;\\KEM;X.EXE;1;h;20260101;20260101;obs;1;0;0001"}), kSaidaFalha);
  EXPECT_THAT(erros.str(), HasSubstr("Linha 3 do manifesto: esperadas 12 colunas, encontradas 11. Nada foi gravado."));
  EXPECT_EQ(motor.chamadas, chamadas);
  EXPECT_EQ(motor.Registros(kVersao), antes);
}

TEST_F(Tavadmin, FailedImportIsRolledBackAndANewFileRemoved) {
  motor.insercoesAteFalha = 1;
  Importar(Manifesto({kEntrada1, kEntrada2}), kSaidaFalha);
  EXPECT_THAT(erros.str(), HasSubstr("Entrada 2 (KEM.EXE)"));
  EXPECT_THAT(erros.str(), HasSubstr("Nada foi gravado."));
  EXPECT_FALSE(arquivos.ExisteArquivo(kVersao));
  motor.insercoesAteFalha = -1;
  Importar(Manifesto({kEntrada1}), 0);
  motor.insercoesAteFalha = 1;
  Importar(Manifesto({kEntrada2, kEntrada1}), kSaidaFalha);
  ASSERT_EQ(motor.Registros(kVersao).size(), 1u);
  EXPECT_EQ(motor.Registros(kVersao)[0].substr(78, 11), "TAVORAN.EXE");
}

TEST_F(Tavadmin, ImportIntoAFileHeldByAnotherProcessFails) {
  Importar(Manifesto({kEntrada1}), 0);
  motor.exclusivosDeOutros.insert(kVersao);
  Importar(Manifesto({kEntrada2}), kSaidaFalha);
  EXPECT_THAT(erros.str(), HasSubstr("status 88"));
  motor.exclusivosDeOutros.clear();
  EXPECT_EQ(motor.Registros(kVersao)[0].substr(78, 11), "TAVORAN.EXE");
}

TEST_F(Tavadmin, VerifyWalksEveryKeyAndReportsDamage) {
  Importar(Manifesto({kEntrada1, kEntrada2}), 0);
  ASSERT_EQ(Rodar({"verificar", kVersao}), 0) << erros.str();
  EXPECT_THAT(saida.str(), HasSubstr("Registros: 2\n"));
  EXPECT_THAT(saida.str(), HasSubstr("Chave 6: 2 registro(s)\n"));
  EXPECT_THAT(saida.str(), HasSubstr("Arquivo íntegro."));
  motor.danificados.insert(kVersao);
  EXPECT_EQ(Rodar({"verificar", kVersao}), kSaidaFalha);
  EXPECT_THAT(erros.str(), HasSubstr("está danificado ou não é um arquivo Btrieve (status 2"));
  EXPECT_EQ(Rodar({"verificar", "P:\\SUITE\\NADA.BTR"}), kSaidaFalha);
  EXPECT_THAT(erros.str(), HasSubstr("não existe"));
}

TEST_F(Tavadmin, VerifyRunsTheEnginesStructuralCheckFirst) {
  Importar(Manifesto({kEntrada1}), 0);
  std::string verificado;
  estrutura = [&](const std::string& arquivo) {
    verificado = arquivo;
    return 2;
  };
  EXPECT_EQ(Rodar({"verificar", kVersao}), kSaidaFalha);
  EXPECT_EQ(verificado, kVersao);
  EXPECT_THAT(erros.str(), HasSubstr("está danificado ou não é um arquivo Btrieve (status 2: A aplicação encontrou"));
  estrutura = [](const std::string&) { return 0; };
  EXPECT_EQ(Rodar({"verificar", kVersao}), 0);
  EXPECT_THAT(saida.str(), HasSubstr("Estrutura do arquivo verificada pelo motor."));
}

// ---- manifest -------------------------------------------------------------------------------
TEST(ManifestoVersao, ColumnsInAnyOrderCommasAndQuotes) {
  std::vector<EntradaVersao> e;
  std::string m;
  ASSERT_TRUE(LerManifesto("NomeProgramaArquivo,VersaoSistema,CaminhoProgramaArquivo,VersaoPrograma,hash,"
                           "RegDataCriacao,RegDataUltAlteracao,Observacao,Funcionando,Beta,VersaoOrdenacao,Boletim\n"
                           "\"A,B.EXE\",8.0,,1,,,,\"x \"\"y\"\"\",,,,\n\n",
                           e, m))
      << m;
  ASSERT_EQ(e.size(), 1u);
  EXPECT_EQ(e[0][2], "A,B.EXE");
  EXPECT_EQ(e[0][0], "8.0");
  EXPECT_EQ(e[0][7], "x \"y\"");
}

TEST(ManifestoVersao, FaultsNameTheirLine) {
  std::vector<EntradaVersao> e;
  std::string m;
  EXPECT_FALSE(LerManifesto("", e, m));
  EXPECT_FALSE(LerManifesto("VersaoSistema;Outra\n", e, m));
  EXPECT_THAT(m, HasSubstr("coluna \"Outra\" desconhecida"));
  EXPECT_FALSE(LerManifesto(kCabecalho + ";;X.EXE;123456789012345;;;;;;;;\n", e, m));
  EXPECT_EQ(m, "Linha 2 do manifesto: o campo \"VersaoPrograma\" passa de 14 caracteres.");
  EXPECT_FALSE(LerManifesto(kCabecalho + ";;   ;1;;;;;;;;\n", e, m));
  EXPECT_THAT(m, HasSubstr("\"NomeProgramaArquivo\" está em branco"));
  EXPECT_FALSE(LerManifesto(kCabecalho + ";;\"X.EXE;1;;;;;;;;\n", e, m));
  EXPECT_EQ(m, "Linha 2 do manifesto: aspas sem fechamento.");
}

TEST(ManifestoVersao, Windows1252LinesAreRead) {
  std::vector<EntradaVersao> e;
  std::string m;
  ASSERT_TRUE(LerManifesto(kCabecalho + ";;X.EXE;1;;;;vers\xE3o;;;;\n", e, m)) << m;
  EXPECT_EQ(e[0][7], "versão");
}

}  // namespace
}  // namespace tavoran::tavadmin
