// The record classes against the real native engine, on real files in a temporary folder.
#ifdef TAV_MOTOR_EMBUTIDO

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "engine/MotorBtrieve.h"
#include "platform/Texto.h"
#include "records/clsRyxMaqBloqueio.h"
#include "records/clsSelVcomp.h"
#include "records/clsSssVersao.h"
#include "tools/tavadmin/ArquivosFerramenta.h"
#include "tools/tavadmin/CaminhosBtrieve.h"

namespace tavoran {
namespace {

namespace Op = OperacaoBtrieve;

class MotorReal : public ::testing::Test {
 protected:
  MotorReal() : btrieve(std::make_unique<MotorBtrieve>()) {
    char modelo[] = "/tmp/tav-registros-XXXXXX";
    pasta = mkdtemp(modelo);
  }
  ~MotorReal() override { std::filesystem::remove_all(pasta); }

  // Opens the file in another process and returns the status it got.
  int StatusAbrirEmOutroProcesso(const std::string& arquivo, std::int32_t modo) {
    const pid_t filho = fork();
    if (filho == 0) {
      tavadmin::CaminhosBtrieve motor(std::make_unique<MotorBtrieve>());
      tavadmin::ArquivosFerramenta arquivosFilho;
      clsTavBtr20 acesso(motor, arquivosFilho);
      acesso.ModoAbertura(modo);
      acesso.Abrir(arquivo);
      _exit(acesso.Erro().Numero() & 0xFF);
    }
    int estado = 0;
    waitpid(filho, &estado, 0);
    return WIFEXITED(estado) ? WEXITSTATUS(estado) : -1;
  }

  std::string pasta;
  tavadmin::CaminhosBtrieve btrieve;
  tavadmin::ArquivosFerramenta arquivos;
};

TEST_F(MotorReal, StatusFileIsCreatedWrittenReadByKeyAndUpdated) {
  clsSelVcomp status(btrieve, arquivos);
  status.Diretorio(pasta);
  ASSERT_TRUE(status.Criar()) << status.ErroDescricao();
  EXPECT_TRUE(std::filesystem::exists(pasta + "/SELVCOMP.BTR"));
  EXPECT_FALSE(status.Criar());
  EXPECT_EQ(status.ErroNumero(), 59);
  ASSERT_TRUE(status.Abrir(Op::kModoNormal, "")) << status.ErroDescricao();
  for (const char* maquina : {"WS08", "WS07", "ESTACAO-DE-TRABALHO-DO-SETOR-FINANCEIRO"}) {
    status.AdicionarNovo();
    status.Maquina(maquina);
    status.Status("1");
    status.Data("20261208");
    status.Hora("09:05:07");
    status.Usuario("joão");
    status.ForcarAtualizaComponentes("0");
    ASSERT_TRUE(status.Gravar()) << status.ErroDescricao();
  }
  status.AdicionarNovo();
  status.Maquina("WS07");
  EXPECT_FALSE(status.Gravar());
  EXPECT_EQ(status.ErroNumero(), 5);  // one record per machine
  status.MontarChave0("WS07");
  ASSERT_TRUE(status.Ler(Op::kObterIgual)) << status.ErroDescricao();
  EXPECT_EQ(status.Usuario(), "joão" + std::string(16, ' '));
  status.ForcarAtualizaComponentes("1");
  ASSERT_TRUE(status.Gravar()) << status.ErroDescricao();
  status.MontarChave0("ESTACAO-DE-TRABALHO-DO-SETOR-FINANCEIRO-2");  // the first 30 characters
  ASSERT_TRUE(status.Ler(Op::kObterIgual));
  EXPECT_EQ(status.Maquina(), "ESTACAO-DE-TRABALHO-DO-SETOR-F");
  EXPECT_EQ(status.Complementos().QuantidadeRegistros(), 3);
  EXPECT_EQ(status.Complementos().TamanhoBuffer(), 256);
  EXPECT_EQ(status.Complementos().TamanhoChave(0), 30);
  ASSERT_TRUE(status.Fechar());

  clsSelVcomp releitura(btrieve, arquivos);
  releitura.Diretorio(pasta);
  ASSERT_TRUE(releitura.Abrir(Op::kModoNormal, ""));
  releitura.MontarChave0("WS07");
  ASSERT_TRUE(releitura.Ler(Op::kObterIgual));
  EXPECT_EQ(releitura.ForcarAtualizaComponentes(), "1");
  ASSERT_TRUE(releitura.Excluir()) << releitura.ErroDescricao();
  EXPECT_FALSE(releitura.Ler(Op::kObterIgual));
  EXPECT_EQ(releitura.ErroNumero(), 4);
  releitura.MontarChave0("");
  ASSERT_TRUE(releitura.Ler(Op::kObterPrimeiro));
  EXPECT_EQ(Aparar(releitura.Maquina()), "ESTACAO-DE-TRABALHO-DO-SETOR-F");
  ASSERT_TRUE(releitura.Ler(Op::kObterProximo));
  EXPECT_EQ(Aparar(releitura.Maquina()), "WS08");
  EXPECT_FALSE(releitura.Ler(Op::kObterProximo));
  EXPECT_EQ(releitura.ErroNumero(), 9);
}

TEST_F(MotorReal, VersionFileIsReadByEachKey) {
  clsSssVersao versao(btrieve, arquivos);
  versao.Diretorio(pasta);
  versao.Sistema("KEM");
  ASSERT_TRUE(versao.Criar()) << versao.ErroDescricao();
  ASSERT_TRUE(versao.Abrir(Op::kModoNormal, "")) << versao.ErroDescricao();
  struct Entrada {
    const char *sistema, *nome, *programa, *hash, *criacao, *alteracao, *ordenacao;
  };
  const Entrada entradas[] = {
      {"8.0", "TAVORAN.EXE", "8.0.0.1", "h1", "20260101", "20260105", "0008.0000.0000.0001"},
      {"8.0", "TAVORAN.EXE", "8.2.0.0", "h2", "20260301", "20260305", "0008.0002.0000.0000"},
      {"8.0", "KEM.EXE", "8.1.0.0", "h3", "20260201", "20260205", "0008.0001.0000.0000"},
  };
  for (const Entrada& e : entradas) {
    versao.AdicionarNovo();
    versao.VersaoSistema(e.sistema);
    versao.NomeProgramaArquivo(e.nome);
    versao.VersaoPrograma(e.programa);
    versao.hash(e.hash);
    versao.RegDataCriacao(e.criacao);
    versao.RegDataUltAlteracao(e.alteracao);
    versao.VersaoOrdenacao(e.ordenacao);
    versao.Observacao("versão " + std::string(e.programa));
    ASSERT_TRUE(versao.Gravar()) << versao.ErroDescricao();
  }
  EXPECT_EQ(versao.Complementos().QuantidadeChaves(), 7);
  EXPECT_EQ(versao.Complementos().QuantidadeSegmentos(5), 5);
  EXPECT_EQ(versao.Complementos().TamanhoChave(1), 78);

  auto programaLido = [&] { return Aparar(versao.VersaoPrograma()); };
  versao.MontarChave6("");
  ASSERT_TRUE(versao.Ler(Op::kObterUltimo)) << versao.ErroDescricao();
  EXPECT_EQ(programaLido(), "8.2.0.0");
  versao.MontarChave0("8.0");
  ASSERT_TRUE(versao.Ler(Op::kObterIgual));
  versao.MontarChave1("KEM.EXE", "8.0");
  ASSERT_TRUE(versao.Ler(Op::kObterIgual));
  EXPECT_EQ(programaLido(), "8.1.0.0");
  EXPECT_EQ(Aparar(versao.Observacao()), "versão 8.1.0.0");
  versao.MontarChave2("8.0.0.1", "TAVORAN.EXE", "8.0");
  ASSERT_TRUE(versao.Ler(Op::kObterIgual));
  EXPECT_EQ(Aparar(versao.hash()), "h1");
  versao.MontarChave3("20260301", "TAVORAN.EXE", "8.0");
  ASSERT_TRUE(versao.Ler(Op::kObterIgual));
  EXPECT_EQ(programaLido(), "8.2.0.0");
  versao.MontarChave4("20260205", "KEM.EXE", "8.0");
  ASSERT_TRUE(versao.Ler(Op::kObterIgual));
  EXPECT_EQ(programaLido(), "8.1.0.0");
  versao.MontarChave5("TAVORAN.EXE", "8.2.0.0", "h2", "20260301", "20260305");
  ASSERT_TRUE(versao.Ler(Op::kObterIgual));
  EXPECT_EQ(Aparar(versao.VersaoOrdenacao()), "0008.0002.0000.0000");
  // Key 1 is modifiable: an entry moves to another program name.
  versao.NomeProgramaArquivo("TAVORAN2.EXE");
  ASSERT_TRUE(versao.Gravar()) << versao.ErroDescricao();
  versao.MontarChave1("TAVORAN2.EXE", "8.0");
  ASSERT_TRUE(versao.Ler(Op::kObterIgual));
  EXPECT_EQ(programaLido(), "8.2.0.0");
  versao.MontarChave1("NADA.EXE", "8.0");
  EXPECT_FALSE(versao.Ler(Op::kObterIgual));
  EXPECT_EQ(versao.Imagem(), std::string(1024, ' '));
}

TEST_F(MotorReal, LockFileHeldExclusivelyKeepsOtherOpensOutInThisAndOtherProcesses) {
  auto dono = std::make_unique<clsRyxMaqBloqueio>(btrieve, arquivos);
  dono->Diretorio(pasta);
  dono->MaquinaNome("ws07");
  EXPECT_FALSE(dono->Abrir(Op::kModoExclusivo, ""));
  EXPECT_EQ(dono->ErroNumero(), 106517);
  EXPECT_FALSE(std::filesystem::exists(pasta + "/RYXWS07.BLQ"));
  ASSERT_TRUE(dono->Criar()) << dono->ErroDescricao();
  EXPECT_TRUE(std::filesystem::exists(pasta + "/RYXWS07.BLQ"));
  ASSERT_TRUE(dono->Abrir(Op::kModoExclusivo, "")) << dono->ErroDescricao();

  clsRyxMaqBloqueio outro(btrieve, arquivos);
  outro.Diretorio(pasta);
  outro.MaquinaNome("WS07");
  EXPECT_FALSE(outro.Abrir(Op::kModoNormal, ""));
  EXPECT_EQ(outro.ErroNumero(), 88);
  EXPECT_EQ(StatusAbrirEmOutroProcesso(outro.Arquivo(), Op::kModoNormal), 88);
  EXPECT_EQ(StatusAbrirEmOutroProcesso(outro.Arquivo(), Op::kModoExclusivo), 88);

  dono.reset();  // releasing the object closes the file and ends the lock
  EXPECT_EQ(StatusAbrirEmOutroProcesso(outro.Arquivo(), Op::kModoExclusivo), 0);
  ASSERT_TRUE(outro.Abrir(Op::kModoNormal, "")) << outro.ErroDescricao();
  EXPECT_EQ(StatusAbrirEmOutroProcesso(outro.Arquivo(), Op::kModoExclusivo), 88);  // a normal open blocks it too
  EXPECT_EQ(StatusAbrirEmOutroProcesso(outro.Arquivo(), Op::kModoNormal), 0);
  EXPECT_TRUE(outro.Fechar());
}

TEST_F(MotorReal, EngineVersionReadsAsVersionDotRevision) {
  clsTavBtr20 acesso(btrieve, arquivos);
  const std::string versao = acesso.VersaoBtrieve();
  EXPECT_NE(versao.find('.'), std::string::npos) << versao;
  EXPECT_EQ(acesso.Erro().Numero(), 0);
}

}  // namespace
}  // namespace tavoran

#endif
