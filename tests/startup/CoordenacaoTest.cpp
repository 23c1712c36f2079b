// Whether a computer updates, and that only one instance of a computer updates at a time.
#include <gtest/gtest.h>

#include "btrieve/clsTavBtr20.h"
#include "platform/Texto.h"
#include "records/clsSelVcomp.h"
#include "startup/mdlInicial.h"
#include "tests/fakes/FalsosRede.h"
#include "tests/fakes/MotorBtrieveFalso.h"
#include "tests/startup/Cenario.h"

namespace tavoran::testes {
namespace {

constexpr const char* kBloqueio = "P:\\Tavoran.win\\RYXESTACAO01.BLQ";
constexpr const char* kSelVcomp = "P:\\Tavoran.win\\SELVCOMP.BTR";

struct Registro {
  std::string maquina, status, data, hora, usuario, forcar;
};

class Coordenacao : public ::testing::Test {
 protected:
  void SetUp() override {
    InstalarSuite(f);
    f.sistema->usuario = "maria";
  }

  void GravarRegistro(const Registro& r) {
    clsSelVcomp s(*f.ambiente.btrieve, *f.ambiente.arquivos);
    s.Diretorio(kDirT);
    if (!s.ArquivoExiste()) {
      ASSERT_TRUE(s.Criar());
    }
    ASSERT_TRUE(s.Abrir(OperacaoBtrieve::kModoNormal, ""));
    s.AdicionarNovo();
    s.Maquina(r.maquina), s.Status(r.status), s.Data(r.data), s.Hora(r.hora), s.Usuario(r.usuario);
    s.ForcarAtualizaComponentes(r.forcar);
    ASSERT_TRUE(s.Gravar()) << s.ErroDescricao();
    s.Fechar();
  }

  bool LerRegistro(const std::string& maquina, Registro& r) {
    clsSelVcomp s(*f.ambiente.btrieve, *f.ambiente.arquivos);
    s.Diretorio(kDirT);
    if (!s.Abrir(OperacaoBtrieve::kModoNormal, "")) return false;
    s.MontarChave0(maquina);
    const bool achou = s.Ler(OperacaoBtrieve::kObterIgual);
    r = {Aparar(s.Maquina()), Aparar(s.Status()), Aparar(s.Data()), Aparar(s.Hora()), Aparar(s.Usuario()),
         Aparar(s.ForcarAtualizaComponentes())};
    s.Fechar();
    return achou;
  }

  // Runs the program; during the update branch, notes whether the lock file is held.
  void Executar() {
    f.shell->aoIniciar = [this](const std::string&) {
      bloqueioDuranteLancamento = f.btrieve->Aberto(kBloqueio);
    };
    Main(f.ambiente);
  }

  AmbienteFalso f;
  bool bloqueioDuranteLancamento = false;
};

TEST_F(Coordenacao, CurrentRecordStartsTheManagerWithoutLock) {
  GravarRegistro({"ESTACAO01", "1", "20261101", "08:00:00", "joao", "0"});
  Executar();
  ASSERT_EQ(f.shell->iniciados.size(), 1u);
  EXPECT_FALSE(f.arquivos->ExisteArquivo(kBloqueio));
  EXPECT_TRUE(f.visao->caixas.empty());
}

TEST_F(Coordenacao, ComputerWithoutRecordUpdatesUnderTheLockAndIsRecorded) {
  bool bloqueadoNoRamo = false;
  f.visao->aoProcessarEventos = [this, &bloqueadoNoRamo] {
    if (!f.visao->textos.empty() && f.visao->textos.back() == "Finalizando atualização...")
      bloqueadoNoRamo = f.btrieve->Aberto(kBloqueio);
  };
  Executar();
  EXPECT_TRUE(bloqueadoNoRamo);
  ASSERT_EQ(f.shell->iniciados.size(), 1u);  // started after the lock was released
  EXPECT_FALSE(bloqueioDuranteLancamento);
  EXPECT_FALSE(f.arquivos->ExisteArquivo(kBloqueio));
  Registro r;
  ASSERT_TRUE(LerRegistro("ESTACAO01", r));
  EXPECT_EQ(r.status, "1");
  EXPECT_EQ(r.data, "20261208");
  EXPECT_EQ(r.hora, "09:05:07");
  EXPECT_EQ(r.usuario, "maria");
  EXPECT_EQ(r.forcar, "0");
  const std::string relatorio = f.arquivos->Conteudo(std::string(kDirT) + "\\Logs\\RYX\\ESTACAO01 (2026-12-08_09-05-07).HTML");
  // The type-library browser was the one component the share had for it.
  EXPECT_NE(relatorio.find("Instalar componente ActiveX 'C:\\WINDOWS\\SYSWOW64\\TLBINF32.DLL'."), std::string::npos);
}

TEST_F(Coordenacao, ForcedRecordEndsWithItsFlagClearedAndOtherFieldsKept) {
  GravarRegistro({"ESTACAO01", "1", "20250101", "07:00:00", "joao", "1"});
  GravarRegistro({"ESTACAO02", "1", "20250102", "07:30:00", "ana", "1"});
  Executar();
  Registro r;
  ASSERT_TRUE(LerRegistro("ESTACAO01", r));
  EXPECT_EQ(r.forcar, "0");
  EXPECT_EQ(r.data, "20250101");
  EXPECT_EQ(r.hora, "07:00:00");
  EXPECT_EQ(r.usuario, "joao");
  EXPECT_EQ(r.status, "1");
  ASSERT_TRUE(LerRegistro("ESTACAO02", r));
  EXPECT_EQ(r.forcar, "1");  // another computer's record is not touched
  EXPECT_EQ(f.shell->iniciados.size(), 1u);
}

TEST_F(Coordenacao, StaleLockFileDoesNotBlock) {
  // A crashed run left the lock file behind, closed.
  clsRyxMaqBloqueio velho(*f.ambiente.btrieve, *f.ambiente.arquivos);
  velho.Diretorio(kDirT);
  velho.MaquinaNome("estacao01");
  ASSERT_TRUE(velho.Criar());
  ASSERT_TRUE(f.arquivos->ExisteArquivo(kBloqueio));
  Executar();
  EXPECT_TRUE(f.visao->caixas.empty());
  EXPECT_EQ(f.shell->iniciados.size(), 1u);
  EXPECT_FALSE(f.arquivos->ExisteArquivo(kBloqueio));
}

TEST_F(Coordenacao, LockFileRemovedBetweenItsTestAndItsOpenDoesNotBlock) {
  // Another session of this computer releases its lock while this one looks at it.
  clsRyxMaqBloqueio outro(*f.ambiente.btrieve, *f.ambiente.arquivos);
  outro.Diretorio(kDirT);
  outro.MaquinaNome("ESTACAO01");
  ASSERT_TRUE(outro.Criar());
  bool removido = false;
  f.arquivos->aoListar = [&](const std::string& padrao) {
    if (removido || ArquivosFalsos::Normalizar(padrao) != ArquivosFalsos::Normalizar(kBloqueio)) return;
    f.arquivos->arquivos.erase(ArquivosFalsos::Normalizar(kBloqueio));
    removido = true;
  };
  Executar();
  EXPECT_TRUE(removido);
  EXPECT_TRUE(f.visao->caixas.empty());
  EXPECT_EQ(f.shell->iniciados.size(), 1u);
  Registro r;
  EXPECT_TRUE(LerRegistro("ESTACAO01", r));
}

TEST_F(Coordenacao, LockHeldByAnotherSessionRefusesTheStart) {
  clsRyxMaqBloqueio outro(*f.ambiente.btrieve, *f.ambiente.arquivos);
  outro.Diretorio(kDirT);
  outro.MaquinaNome("ESTACAO01");
  ASSERT_TRUE(outro.Criar());
  ASSERT_TRUE(outro.Abrir(OperacaoBtrieve::kModoExclusivo, ""));
  Executar();
  EXPECT_FALSE(f.visao->mostrada);
  ASSERT_EQ(f.visao->caixas.size(), 1u);
  EXPECT_EQ(f.visao->caixas[0].texto,
            "ExecutarVerificacoesTerminalService - A atualização de componentes se encontra em execução por outra "
            "estação via Terminal Service.\r\nTente novamente mais tarde.");
  EXPECT_TRUE(f.shell->iniciados.empty());
}

TEST_F(Coordenacao, LosingTheRaceForTheLockStopsWithTheLockMessage) {
  Cenario c;
  ASSERT_TRUE(c.Inicializar());
  // Another instance takes the lock between the test and the exclusive open.
  clsRyxMaqBloqueio outro(*c.f.ambiente.btrieve, *c.f.ambiente.arquivos);
  outro.Diretorio(kDirT);
  outro.MaquinaNome("ESTACAO01");
  ASSERT_TRUE(outro.Criar());
  ASSERT_TRUE(outro.Abrir(OperacaoBtrieve::kModoExclusivo, ""));
  EXPECT_FALSE(c.janela->Coordenacao()->ObterBloqueio());
  ASSERT_EQ(c.f.visao->caixas.size(), 1u);
  EXPECT_EQ(c.f.visao->caixas[0].texto,
            "ExibirMensagemBloqueio - A atualização de componentes esta sendo executada por outras estações fora "
            "do Terminal Service.\r\nTente novamente mais tarde.");
  EXPECT_FALSE(c.janela->Coordenacao()->BloqueioMantido());
}

TEST_F(Coordenacao, StatusFileHeldExclusivelyShowsTheLockMessage) {
  GravarRegistro({"ESTACAO01", "1", "20261101", "08:00:00", "joao", "0"});
  f.btrieve->exclusivosDeOutros.insert(Maiusculas(kSelVcomp));
  Executar();
  ASSERT_EQ(f.visao->caixas.size(), 1u);
  EXPECT_EQ(f.visao->caixas[0].texto.rfind("ExibirMensagemBloqueio - ", 0), 0u);
  EXPECT_TRUE(f.shell->iniciados.empty());
}

TEST_F(Coordenacao, DamagedStatusFileGetsTheGenericErrorAndNoUpdate) {
  GravarRegistro({"ESTACAO01", "1", "20261101", "08:00:00", "joao", "0"});
  f.btrieve->danificados.insert(Maiusculas(kSelVcomp));
  Executar();
  ASSERT_EQ(f.visao->caixas.size(), 1u);
  EXPECT_NE(f.visao->caixas[0].texto.find("rotina VerificarPrecisaAtualizarComponentes\r\nNúmero: 2\r\n"),
            std::string::npos);
  EXPECT_NE(f.visao->caixas[0].texto.find("Erro ao abrir arquivo 'SELVCOMP.BTR': "), std::string::npos);
  EXPECT_TRUE(f.shell->iniciados.empty());
  EXPECT_FALSE(f.arquivos->ExisteArquivo(kBloqueio));
}

TEST_F(Coordenacao, AnInconsistencyLeavesTheRecordAloneAndTheLockToTheEndOfTheProgram) {
  Cenario c;
  c.janela->Plano().atualizacao = {{"", [&c] {
                                      c.janela->GravarLog("Falha", 70, "Permissão negada", "");
                                      return true;
                                    }}};
  ASSERT_TRUE(c.Inicializar());
  c.f.visao->Mostrar();
  c.f.visao->ExecutarLaco();
  EXPECT_TRUE(c.f.shell->iniciados.empty());
  EXPECT_TRUE(c.f.arquivos->ExisteArquivo(kBloqueio));  // left behind, closed
  EXPECT_FALSE(c.f.btrieve->Aberto(kBloqueio));
  ASSERT_EQ(c.f.btrieve->Registros(kSelVcomp).size(), 0u);
}

}  // namespace
}  // namespace tavoran::testes
