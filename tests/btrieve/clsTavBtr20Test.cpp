#include "btrieve/clsTavBtr20.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "btrieve/MontarChaves.h"
#include "tests/fakes/BtrieveFalso.h"
#include "tests/fakes/Falsos.h"

namespace tavoran {
namespace {

using testes::ArquivosFalsos;
using testes::BtrieveFalso;
namespace Op = OperacaoBtrieve;

const std::string kArquivo = "P:\\DADOS\\TESTE.BTR";
const std::string kBranco128(128, ' ');

struct Evento {
  std::int32_t numero;
  std::string descricao;
};

class AcessoBtrieve : public ::testing::Test {
 protected:
  AcessoBtrieve() {
    arquivos.CriarArquivo(kArquivo);
    objeto = std::make_unique<clsTavBtr20>(btrieve, arquivos);
    objeto->OnErro = [this](std::int32_t n, const std::string& d) { eventos.push_back({n, d}); };
  }
  void AbrirArquivo() {
    ASSERT_TRUE(objeto->Abrir(kArquivo));
    btrieve.chamadas.clear();
    eventos.clear();
  }
  const testes::ChamadaBtrieve& Ultima() const { return btrieve.chamadas.back(); }

  ArquivosFalsos arquivos;
  BtrieveFalso btrieve;
  std::unique_ptr<clsTavBtr20> objeto;
  std::vector<Evento> eventos;
};

// ---- creation -------------------------------------------------------------------------------
TEST_F(AcessoBtrieve, CriarSendsTheFileSpecificationWithKeyNumberMinusOne) {
  ASSERT_TRUE(objeto->Criar("P:\\DADOS\\NOVO.BTR", 5000, 4096, 1, "/1/30/F/"));
  const auto& c = Ultima();
  EXPECT_EQ(c.operacao, 14);
  EXPECT_EQ(c.numeroChave, -1);
  EXPECT_EQ(c.bloco, kBranco128);
  EXPECT_EQ(c.tamanhoDados, 1920u);
  EXPECT_EQ(c.chave, "P:\\DADOS\\NOVO.BTR");
  EXPECT_EQ(c.tamanhoChave, 17);
  EXPECT_EQ(LerInteiro16(c.dados, 0), 4078);  // record length capped
  EXPECT_EQ(LerInteiro16(c.dados, 2), 4096);
  EXPECT_EQ(LerInteiro16(c.dados, 4), 1);
  std::string especificacoes;
  Falha f;
  MontarChaves("/1/30/F/", especificacoes, f);
  EXPECT_EQ(c.dados.substr(16), especificacoes);
  EXPECT_TRUE(eventos.empty());
}

TEST_F(AcessoBtrieve, CriarOnAnExistingNameReportsTheEngineStatus) {
  btrieve.status = {59};
  EXPECT_FALSE(objeto->Criar(kArquivo, 256, 4096, 1, "/1/30/F/"));
  EXPECT_EQ(objeto->Erro().Numero(), 59);
  ASSERT_EQ(eventos.size(), 1u);
  EXPECT_EQ(eventos[0].descricao, "O arquivo especificado já existe.");
}

TEST_F(AcessoBtrieve, ChecksBeforeCreationComeInOrderAndCallNothing) {
  auto definicao = [](int segmentos) {
    std::string d = "/";
    for (int i = 0; i < segmentos; ++i) d += "1/1/F/";
    return d;
  };
  struct Caso {
    std::string arquivo;
    std::int16_t pagina;
    int chaves;
    std::string definicao;
    std::int32_t codigo;
  };
  const std::vector<Caso> casos = {
      {kArquivo, 512, 8, definicao(8), 100066},     {kArquivo, 1024, 24, definicao(24), 100066},
      {kArquivo, 4096, 119, definicao(119), 100066}, {kArquivo, 3584, 119, definicao(119), 100068},
      {kArquivo, 4096, 1, "1/30/F/", 100067},       {"P:\\MEUS DADOS\\A.BTR", 4096, 1, "/1/30/F/", 100063},
      {kArquivo, 4096, 1, "/1/30/F", 100065},       {kArquivo, 4096, 1, "/1/x/F/", 100064},
      {kArquivo, 4096, 2, "/1/30/F/", 100065},
  };
  for (const Caso& c : casos) {
    EXPECT_FALSE(objeto->Criar(c.arquivo, 256, c.pagina, static_cast<std::uint8_t>(c.chaves), c.definicao));
    EXPECT_EQ(objeto->Erro().Numero(), c.codigo) << c.definicao << " " << c.pagina;
  }
  EXPECT_TRUE(btrieve.chamadas.empty());
  for (auto [pagina, segmentos] : std::vector<std::pair<int, int>>{{512, 7}, {1024, 23}, {4096, 118}, {3584, 118}})
    EXPECT_TRUE(objeto->Criar(kArquivo, 256, static_cast<std::int16_t>(pagina), static_cast<std::uint8_t>(segmentos),
                              definicao(segmentos)))
        << pagina;
  EXPECT_EQ(objeto->Erro().Descricao(), "");
}

// ---- opening and closing --------------------------------------------------------------------
TEST_F(AcessoBtrieve, AbrirWithoutOwnerSends255Blanks) {
  objeto->ModoAbertura(-4);
  ASSERT_TRUE(objeto->Abrir(kArquivo));
  const auto& c = Ultima();
  EXPECT_EQ(c.operacao, 0);
  EXPECT_EQ(c.bloco, kBranco128);
  EXPECT_EQ(c.dados, std::string(255, ' '));
  EXPECT_EQ(c.chave, kArquivo + '\0');
  EXPECT_EQ(c.tamanhoChave, kArquivo.size() + 1);
  EXPECT_EQ(c.numeroChave, -4);
  EXPECT_TRUE(objeto->ArquivoAberto());
}

TEST_F(AcessoBtrieve, AbrirWithOwnerSendsTheNameAndItsNul) {
  objeto->NomeProprietario("senha");
  ASSERT_TRUE(objeto->Abrir(kArquivo));
  EXPECT_EQ(Ultima().dados, std::string("senha\0", 6));
  EXPECT_EQ(Ultima().tamanhoDados, 6u);
}

TEST_F(AcessoBtrieve, AbrirRefusesBadNamesBeforeAnyCall) {
  arquivos.CriarArquivo("P:\\COM ESPACO\\A.BTR");
  arquivos.CriarArquivo("P:\\DADOS\\OCULTO.BTR", "", true);
  EXPECT_FALSE(objeto->Abrir("   "));
  EXPECT_EQ(objeto->Erro().Numero(), 100069);
  EXPECT_FALSE(objeto->Abrir("P:\\DADOS\\NADA.BTR"));
  EXPECT_EQ(objeto->Erro().Numero(), 100070);
  EXPECT_EQ(objeto->Erro().Descricao(), "Arquivo não existe.");
  EXPECT_FALSE(objeto->Abrir("P:\\COM ESPACO\\A.BTR"));
  EXPECT_EQ(objeto->Erro().Numero(), 100071);
  EXPECT_TRUE(btrieve.chamadas.empty());
  EXPECT_EQ(eventos.size(), 3u);
  EXPECT_TRUE(objeto->Abrir("P:\\DADOS\\OCULTO.BTR"));  // hidden files count
}

TEST_F(AcessoBtrieve, FailedOpenLeavesTheFileClosed) {
  btrieve.status = {88};
  EXPECT_FALSE(objeto->Abrir(kArquivo));
  EXPECT_FALSE(objeto->ArquivoAberto());
  EXPECT_EQ(objeto->Erro().Descricao(), "A aplicação encontrou um erro de modo incompatível.");
}

TEST_F(AcessoBtrieve, OpeningAgainClosesTheFileStillOpenFirst) {
  AbrirArquivo();
  ASSERT_TRUE(objeto->Abrir(kArquivo));
  ASSERT_EQ(btrieve.chamadas.size(), 2u);
  EXPECT_EQ(btrieve.chamadas[0].operacao, 1);
  EXPECT_EQ(btrieve.chamadas[0].bloco.substr(0, 6), "ABERTO");
  EXPECT_EQ(btrieve.chamadas[1].operacao, 0);
  EXPECT_EQ(btrieve.chamadas[1].bloco, kBranco128);
  ASSERT_TRUE(objeto->Criar("P:\\DADOS\\NOVO.BTR", 256, 4096, 1, "/1/30/F/"));
  EXPECT_EQ(btrieve.chamadas[2].operacao, 1);
  EXPECT_FALSE(objeto->ArquivoAberto());
}

TEST_F(AcessoBtrieve, FecharOnAClosedObjectReportsCode3WithoutACall) {
  EXPECT_FALSE(objeto->Fechar());
  EXPECT_EQ(objeto->Erro().Numero(), 3);
  EXPECT_TRUE(btrieve.chamadas.empty());
  ASSERT_EQ(eventos.size(), 1u);
  EXPECT_EQ(eventos[0].descricao, "O arquivo não está aberto.");
}

TEST_F(AcessoBtrieve, FecharBlanksThePositionBlockWhateverTheStatus) {
  AbrirArquivo();
  btrieve.status = {2};
  EXPECT_FALSE(objeto->Fechar());
  EXPECT_EQ(Ultima().operacao, 1);
  EXPECT_EQ(Ultima().bloco.substr(0, 6), "ABERTO");
  EXPECT_EQ(Ultima().chave, std::string(255, ' '));
  EXPECT_FALSE(objeto->ArquivoAberto());
}

TEST_F(AcessoBtrieve, DestructionClosesAnOpenFileAndAnnouncesNothing) {
  AbrirArquivo();
  objeto.reset();
  ASSERT_EQ(btrieve.chamadas.size(), 1u);
  EXPECT_EQ(btrieve.chamadas[0].operacao, 1);
  btrieve.chamadas.clear();
  clsTavBtr20 fechado(btrieve, arquivos);
  fechado.OnErro = [this](std::int32_t n, const std::string& d) { eventos.push_back({n, d}); };
  {
    clsTavBtr20 temporario(btrieve, arquivos);
  }
  EXPECT_TRUE(btrieve.chamadas.empty());
  EXPECT_TRUE(eventos.empty());
}

TEST_F(AcessoBtrieve, ReiniciarUsesAScratchBlockAndClosesTheObject) {
  AbrirArquivo();
  ASSERT_TRUE(objeto->Reiniciar());
  EXPECT_EQ(Ultima().operacao, 28);
  EXPECT_EQ(Ultima().bloco, kBranco128);
  EXPECT_FALSE(objeto->ArquivoAberto());
}

// ---- records --------------------------------------------------------------------------------
TEST_F(AcessoBtrieve, InserirSendsTheBufferIn4088BytesWithItsOwnLength) {
  AbrirArquivo();
  std::string enviado;
  btrieve.aoChamar = [&](testes::ChamadaBtrieve& c, void* dados, void*, std::int16_t&) {
    if (c.operacao == 2) enviado.assign(static_cast<const char*>(dados), 4088);
  };
  objeto->Buffer("REGISTRO");
  objeto->Chave("CHAVE");
  objeto->NumeroChave(2);
  ASSERT_TRUE(objeto->Inserir());
  EXPECT_EQ(Ultima().operacao, 2);
  EXPECT_EQ(Ultima().tamanhoDados, 8u);
  EXPECT_EQ(enviado, "REGISTRO" + std::string(4080, ' '));
  EXPECT_EQ(Ultima().chave, std::string(255, ' '));
  EXPECT_EQ(Ultima().numeroChave, 2);
  EXPECT_EQ(objeto->Chave(), "CHAVE");
}

TEST_F(AcessoBtrieve, ExcluirSendsNoDataButTheBufferLength) {
  AbrirArquivo();
  objeto->Buffer("ABC");
  ASSERT_TRUE(objeto->Excluir());
  EXPECT_EQ(Ultima().operacao, 4);
  EXPECT_EQ(Ultima().tamanhoDados, 3u);
  EXPECT_EQ(Ultima().dados, std::string(3, '\0'));
}

TEST_F(AcessoBtrieve, RecordOperationsOnAClosedFileReportCode3) {
  for (auto operacao : {&clsTavBtr20::Inserir, &clsTavBtr20::Excluir, &clsTavBtr20::Alterar,
                        &clsTavBtr20::RemoverProprietario}) {
    EXPECT_FALSE((objeto.get()->*operacao)());
    EXPECT_EQ(objeto->Erro().Numero(), 3);
  }
  EXPECT_FALSE(objeto->DefinirProprietario("dono", 0));
  EXPECT_FALSE(objeto->CriarIndice(1, "/1/2/F/"));
  EXPECT_TRUE(btrieve.chamadas.empty());
  EXPECT_EQ(eventos.size(), 6u);
}

TEST_F(AcessoBtrieve, AlterarSendsTheKeyAndRetriesLocksUpTo21Times) {
  AbrirArquivo();
  objeto->Buffer("DADOS");
  objeto->Chave("CHAVE1");
  objeto->NumeroChave(1);
  btrieve.status.assign(40, 84);
  EXPECT_FALSE(objeto->Alterar());
  EXPECT_EQ(btrieve.chamadas.size(), 22u);
  EXPECT_EQ(objeto->Erro().Numero(), 100072);
  EXPECT_EQ(objeto->Erro().Descricao(), "Registro bloqueado.");
  EXPECT_EQ(Ultima().operacao, 3);
  EXPECT_EQ(Ultima().chave, "CHAVE1");
  EXPECT_EQ(Ultima().tamanhoChave, 6);
  EXPECT_EQ(Ultima().numeroChave, 1);
  ASSERT_EQ(eventos.size(), 1u);  // only the final code
}

TEST_F(AcessoBtrieve, AlterarEndsAtTheFirstRetryThatIsNotALock) {
  AbrirArquivo();
  btrieve.status = {85, 84, 0};
  EXPECT_TRUE(objeto->Alterar());
  EXPECT_EQ(btrieve.chamadas.size(), 3u);
  btrieve.chamadas.clear();
  btrieve.status = {84, 5};
  EXPECT_FALSE(objeto->Alterar());
  EXPECT_EQ(btrieve.chamadas.size(), 2u);
  EXPECT_EQ(objeto->Erro().Numero(), 5);
  btrieve.status = {22};
  EXPECT_FALSE(objeto->Alterar());
  EXPECT_EQ(objeto->Erro().Numero(), 22);
}

TEST_F(AcessoBtrieve, LerAddsTheLockBiasAndReturnsTheWholeBuffers) {
  AbrirArquivo();
  objeto->Espera(200);
  objeto->Chave("JOAO");
  btrieve.dadosResposta = "LINHA";
  btrieve.chaveResposta = "CHAVEVOLTA";
  ASSERT_TRUE(objeto->Ler(Op::kObterIgual));
  EXPECT_EQ(Ultima().operacao, 205);
  EXPECT_EQ(Ultima().tamanhoDados, 4088u);
  EXPECT_EQ(Ultima().chave, "JOAO" + std::string(251, ' '));
  EXPECT_EQ(Ultima().tamanhoChave, 255);
  EXPECT_EQ(objeto->Buffer(), "LINHA" + std::string(4083, ' '));
  EXPECT_EQ(objeto->Chave(), "CHAVEVOLTA" + std::string(245, ' '));
  objeto->Espera(150);
  ASSERT_TRUE(objeto->Ler(Op::kObterProximo));
  EXPECT_EQ(Ultima().operacao, 6);
}

TEST_F(AcessoBtrieve, FailedLerEmptiesBufferAndKey) {
  AbrirArquivo();
  objeto->Buffer("X");
  objeto->Chave("Y");
  btrieve.status = {4};
  EXPECT_FALSE(objeto->Ler(Op::kObterIgual));
  EXPECT_EQ(objeto->Buffer(), "");
  EXPECT_EQ(objeto->Chave(), "");
  EXPECT_EQ(objeto->Erro().Descricao(), "A aplicação não encontrou o valor da chave.");
  ASSERT_TRUE(objeto->Fechar());
  objeto->Buffer("X");
  EXPECT_FALSE(objeto->Ler(Op::kObterIgual));
  EXPECT_EQ(objeto->Erro().Numero(), 3);
  EXPECT_EQ(objeto->Buffer(), "");
}

// ---- statistics -----------------------------------------------------------------------------
std::string Estatisticas(std::int16_t registro, std::int16_t chaves, std::uint32_t registros,
                         const std::vector<std::array<int, 3>>& segmentos) {
  std::string e(1920, '\0');
  GravarInteiro16(e, 0, registro);
  GravarInteiro16(e, 4, chaves);
  for (int i = 0; i < 4; ++i) e[6 + i] = static_cast<char>((registros >> (8 * i)) & 0xFF);
  for (std::size_t s = 0; s < segmentos.size(); ++s) {
    GravarInteiro16(e, 16 + s * 16, segmentos[s][0]);
    GravarInteiro16(e, 18 + s * 16, segmentos[s][1]);
    GravarInteiro16(e, 20 + s * 16, segmentos[s][2]);
  }
  return e;
}

TEST_F(AcessoBtrieve, StatisticsReadTheFileSpecificationShapedBuffer) {
  AbrirArquivo();
  btrieve.dadosResposta = Estatisticas(1024, 2, 0x12345678, {{1, 14, 257}, {79, 64, 275}, {1, 14, 259}});
  EXPECT_EQ(objeto->QuantidadeRegistros(), 0x12345678);
  EXPECT_EQ(Ultima().operacao, 15);
  EXPECT_EQ(Ultima().tamanhoDados, 1920u);
  EXPECT_EQ(Ultima().chave, std::string(255, ' '));
  EXPECT_EQ(objeto->TamanhoBuffer(), 1024);
  EXPECT_EQ(objeto->QuantidadeChaves(), 2);
  EXPECT_EQ(objeto->TamanhoChave(0), 14);
  EXPECT_EQ(objeto->TamanhoChave(1), 78);
  EXPECT_EQ(objeto->QuantidadeSegmentos(0), 1);
  EXPECT_EQ(objeto->QuantidadeSegmentos(1), 2);
  EXPECT_TRUE(eventos.empty());
  EXPECT_EQ(objeto->TamanhoChave(2), 0);
  EXPECT_EQ(objeto->Erro().Numero(), 100077);
  EXPECT_EQ(objeto->QuantidadeSegmentos(2), 0);
  EXPECT_EQ(objeto->Erro().Numero(), 100078);
  EXPECT_EQ(objeto->Erro().Descricao(), "Número da chave inválido.");
}

TEST_F(AcessoBtrieve, RecordCountIsTheHexadecimalOfTheFourBytes) {
  AbrirArquivo();
  btrieve.dadosResposta = Estatisticas(256, 1, 0x000000FF, {});
  EXPECT_EQ(objeto->QuantidadeRegistros(), 255);
  btrieve.dadosResposta = Estatisticas(256, 1, 0x00010000, {});
  EXPECT_EQ(objeto->QuantidadeRegistros(), 65536);
  btrieve.dadosResposta = Estatisticas(256, 1, 0xFFFFFFFF, {});
  EXPECT_EQ(objeto->QuantidadeRegistros(), -1);
  btrieve.status = {3};
  EXPECT_EQ(objeto->QuantidadeRegistros(), 0);
  EXPECT_EQ(objeto->Erro().Numero(), 3);
}

TEST_F(AcessoBtrieve, VersaoBtrieveIsVersionDotRevision) {
  btrieve.dadosResposta = std::string("\x08\x00\x3C\x00N", 5);
  EXPECT_EQ(objeto->VersaoBtrieve(), "8.60");
  EXPECT_EQ(Ultima().operacao, 26);
  EXPECT_EQ(Ultima().tamanhoDados, 5u);
  btrieve.dadosResposta = std::string("\x06\x01\x0F\x00N", 5);
  EXPECT_EQ(objeto->VersaoBtrieve(), "6.15");
  btrieve.status = {20};
  EXPECT_EQ(objeto->VersaoBtrieve(), "");
  EXPECT_EQ(objeto->Erro().Descricao(), "O MicroKernel ou o Btrieve Requester não está funcionando.");
}

// ---- transactions, indexes, owner -----------------------------------------------------------
TEST_F(AcessoBtrieve, TransactionsUseAScratchBlockAndTheirCodes) {
  AbrirArquivo();
  ASSERT_TRUE(objeto->IniciarTransacao(1000));
  EXPECT_EQ(Ultima().operacao, 19);
  EXPECT_EQ(Ultima().bloco, kBranco128);
  ASSERT_TRUE(objeto->IniciarTransacao(0));
  EXPECT_EQ(Ultima().operacao, 1019);
  ASSERT_TRUE(objeto->FinalizarTransacao());
  EXPECT_EQ(Ultima().operacao, 20);
  btrieve.status = {39};
  EXPECT_FALSE(objeto->AbortarTransacao());
  EXPECT_EQ(Ultima().operacao, 21);
  EXPECT_EQ(objeto->Erro().Numero(), 39);
  EXPECT_TRUE(objeto->ArquivoAberto());
}

TEST_F(AcessoBtrieve, DefinirProprietarioSendsTheNameWithItsNul) {
  AbrirArquivo();
  EXPECT_FALSE(objeto->DefinirProprietario("123456789", 1));
  EXPECT_EQ(objeto->Erro().Numero(), 100076);
  EXPECT_TRUE(btrieve.chamadas.empty());
  ASSERT_TRUE(objeto->DefinirProprietario("dono", 3));
  EXPECT_EQ(Ultima().operacao, 29);
  EXPECT_EQ(Ultima().dados, std::string("dono\0", 5));
  EXPECT_EQ(Ultima().tamanhoChave, 0);
  EXPECT_EQ(Ultima().numeroChave, 3);
  ASSERT_TRUE(objeto->RemoverProprietario());
  EXPECT_EQ(Ultima().operacao, 30);
  EXPECT_EQ(Ultima().tamanhoDados, 0u);
}

TEST_F(AcessoBtrieve, CriarIndiceSendsTheKeyArrayAndTheKeyCharacter) {
  EXPECT_FALSE(objeto->CriarIndice(1, "1/2/F/"));
  EXPECT_EQ(objeto->Erro().Numero(), 100073);
  std::string longa = "/";
  for (int i = 0; i < 119; ++i) longa += "1/1/S/";
  EXPECT_FALSE(objeto->CriarIndice(1, longa));
  EXPECT_EQ(objeto->Erro().Numero(), 100074);
  AbrirArquivo();
  EXPECT_FALSE(objeto->CriarIndice(1, "/1/y/F/"));
  EXPECT_EQ(objeto->Erro().Numero(), 100075);
  EXPECT_TRUE(btrieve.chamadas.empty());
  ASSERT_TRUE(objeto->CriarIndice(2, "/31/8/DF/"));
  EXPECT_EQ(Ultima().operacao, 31);
  EXPECT_EQ(Ultima().tamanhoDados, 1904u);
  EXPECT_EQ(Ultima().chave, std::string(1, static_cast<char>(130)));
  EXPECT_EQ(Ultima().numeroChave, 2);
  EXPECT_EQ(LerInteiro16(Ultima().dados, 0), 31);
  ASSERT_TRUE(objeto->ExcluirIndice(2));
  EXPECT_EQ(Ultima().operacao, 32);
  EXPECT_EQ(Ultima().numeroChave, 2);
}

// ---- faults and events ----------------------------------------------------------------------
TEST_F(AcessoBtrieve, RunTimeFaultsKeepTheOperationTextAndRaiseNoEvent) {
  AbrirArquivo();
  btrieve.lancar = {53, "Arquivo não encontrado"};
  EXPECT_FALSE(objeto->Inserir());
  EXPECT_EQ(objeto->Erro().Numero(), 53);
  EXPECT_EQ(objeto->Erro().Descricao(), "Erro inesperado ao inserir registro: Arquivo não encontrado");
  EXPECT_FALSE(objeto->Ler(5));
  EXPECT_EQ(objeto->Erro().Descricao(), "Erro inesperado ao ler registro: Arquivo não encontrado");
  EXPECT_EQ(objeto->VersaoBtrieve(), "");
  EXPECT_EQ(objeto->Erro().Descricao(), "Erro inesperado ao retornar versão do Btrieve: Arquivo não encontrado");
  EXPECT_EQ(objeto->QuantidadeRegistros(), 0);
  EXPECT_EQ(objeto->Erro().Descricao(),
            "Erro inesperado ao retornar quantidade de registros: Arquivo não encontrado");
  EXPECT_TRUE(eventos.empty());
}

TEST_F(AcessoBtrieve, SuccessClearsTheErrorWithoutAnEvent) {
  EXPECT_FALSE(objeto->Fechar());
  eventos.clear();
  ASSERT_TRUE(objeto->Abrir(kArquivo));
  EXPECT_EQ(objeto->Erro().Numero(), 0);
  EXPECT_EQ(objeto->Erro().Descricao(), "");
  EXPECT_TRUE(eventos.empty());
}

TEST_F(AcessoBtrieve, AFaultInTheOwnersHandlerIsRecordedNotPropagated) {
  objeto->OnErro = [](std::int32_t, const std::string&) { throw ErroRuntime(91, "Variável de objeto não definida"); };
  EXPECT_FALSE(objeto->Fechar());
  EXPECT_EQ(objeto->Erro().Numero(), 91);
  EXPECT_EQ(objeto->Erro().Descricao(),
            "Erro inesperado ao receber evento de Localiza Erro: Variável de objeto não definida");
}

}  // namespace
}  // namespace tavoran
