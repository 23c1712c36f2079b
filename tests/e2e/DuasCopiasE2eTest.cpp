// Two copies of the program for one computer, each in its own Wine prefix (two Wine servers,
// as two sessions of one terminal server) on one share. While the first copy stands in its
// update holding the computer's lock (another workstation keeps the status file's writer
// lock, so its recording waits), the second starts and must stop with a lock message; the
// first then ends its update alone. duas-copias.sh runs the two halves at once, the first
// with TAV_E2E_DUAS_COPIAS=A, the second with B.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/e2e/EstacaoTeste.h"
#include "tests/helpers/ApoioTeste.h"

namespace tavoran::testes {
namespace {

const std::string kParada = std::string(EstacaoTeste::kRaiz) + "\\copia-a-parada";
const std::string kResultadoB = std::string(EstacaoTeste::kRaiz) + "\\copia-b.txt";
const std::string kFimB = std::string(EstacaoTeste::kRaiz) + "\\copia-b-fim";

bool Papel(const char* papel) {
  char valor[8] = {};
  return GetEnvironmentVariableA("TAV_E2E_DUAS_COPIAS", valor, sizeof valor) > 0 && std::string(valor) == papel;
}

// The writer lock of a record file (the engine's byte 2^62 + 1), held as another
// workstation holds it in the middle of its write.
class EscritorDeOutraEstacao {
 public:
  explicit EscritorDeOutraEstacao(const std::string& arquivo)
      : h_(CreateFileA(arquivo.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, 0, nullptr)) {
    OVERLAPPED o = Posicao();
    travado_ = h_ != INVALID_HANDLE_VALUE && LockFileEx(h_, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &o);
  }
  EscritorDeOutraEstacao(const EscritorDeOutraEstacao&) = delete;
  EscritorDeOutraEstacao& operator=(const EscritorDeOutraEstacao&) = delete;
  ~EscritorDeOutraEstacao() { Soltar(); }
  bool Travado() const { return travado_; }
  void Soltar() {
    if (travado_) {
      OVERLAPPED o = Posicao();
      UnlockFileEx(h_, 0, 1, 0, &o);
      travado_ = false;
    }
    if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
  }

 private:
  static OVERLAPPED Posicao() {
    OVERLAPPED o{};
    o.Offset = 1;
    o.OffsetHigh = 0x40000000;
    return o;
  }
  HANDLE h_;
  bool travado_ = false;
};

// Waits until the run shows its last update step with the computer's lock file on the share.
bool EsperarAtualizacaoParada(const ExecucaoTavoran& tavoran, const std::string& arquivoBloqueio) {
  for (int i = 0; i < 1500 && tavoran.CodigoSaida() == STILL_ACTIVE; ++i) {
    HWND rotulo = RotuloDoPasso(tavoran.Id());
    if (rotulo != nullptr && TextoDaJanela(rotulo) == "Finalizando atualização..." && Existe(arquivoBloqueio))
      return true;
    Sleep(20);
  }
  return false;
}

std::size_t Ocorrencias(const std::string& texto, const std::string& parte) {
  std::size_t n = 0;
  for (auto p = texto.find(parte); p != std::string::npos; p = texto.find(parte, p + 1)) ++n;
  return n;
}

TEST(DuasCopias, FirstCopyUpdatesAloneWhileTheSecondMeetsItsLock) {
  if (!Papel("A")) GTEST_SKIP() << "runs only under tests/e2e/duas-copias.sh";
  for (const std::string& sinal : {kParada, kResultadoB, kFimB}) DeleteFileA(sinal.c_str());
  EstacaoTeste estacao;
  estacao.Preparar();
  ASSERT_EQ(estacao.Tavadmin("gravar-estacao " + estacao.DirT() + " OUTRA 1 20261101 08:00:00 joao 0"), 0);
  EscritorDeOutraEstacao escritor(estacao.DirT() + "\\SELVCOMP.BTR");
  ASSERT_TRUE(escritor.Travado());
  {
    ExecucaoTavoran tavoran(estacao.DirT() + "\\TAVORAN.EXE", "");
    ASSERT_TRUE(EsperarAtualizacaoParada(tavoran, estacao.ArquivoBloqueio()));
    GravarArquivo(kParada, "A");
    EXPECT_TRUE(EsperarArquivo(kFimB, 120000)) << "the second copy did not end";
    escritor.Soltar();
    ASSERT_TRUE(tavoran.EsperarFim());
    EXPECT_TRUE(tavoran.caixasVistas.empty());
  }

  // The second copy stopped with one of the two lock messages and started nothing.
  const std::string caixaB = LerArquivo(kResultadoB);
  EXPECT_THAT(caixaB, ::testing::AnyOf(
                          "ExecutarVerificacoesTerminalService - A atualização de componentes se encontra em execução "
                          "por outra estação via Terminal Service.\r\nTente novamente mais tarde.",
                          "ExibirMensagemBloqueio - A atualização de componentes esta sendo executada por outras "
                          "estações fora do Terminal Service.\r\nTente novamente mais tarde."));
  // The first one updated once: one recorded workstation, the lock file gone, one starter.
  for (int i = 0; i < 100 && estacao.Comandos().find("KemCriaArq.exe|") == std::string::npos; ++i) Sleep(100);
  EXPECT_EQ(Ocorrencias(estacao.Comandos(), "KemCriaArq.exe|"), 1u);
  EXPECT_FALSE(Existe(estacao.ArquivoBloqueio()));
  std::string estacoes;
  estacao.Tavadmin("estacoes " + estacao.DirT(), &estacoes);
  EXPECT_EQ(Ocorrencias(estacoes, estacao.NomeComputador() + " "), 1u) << estacoes;
}

TEST(DuasCopias, SecondCopyStartsWhileTheFirstHoldsTheLock) {
  if (!Papel("B")) GTEST_SKIP() << "runs only under tests/e2e/duas-copias.sh";
  EstacaoTeste estacao;
  estacao.PrepararRegistro();
  ASSERT_TRUE(EsperarArquivo(kParada, 300000)) << "the first copy never stood in its update";
  {
    ExecucaoTavoran tavoran(estacao.DirT() + "\\TAVORAN.EXE", "");
    const auto caixa = tavoran.EsperarCaixa();
    GravarArquivo(kResultadoB, caixa ? caixa->texto : "(no box)");
    if (caixa) ExecucaoTavoran::Responder(*caixa);
    EXPECT_TRUE(tavoran.EsperarFim());
  }
  GravarArquivo(kFimB, "B");
}

}  // namespace
}  // namespace tavoran::testes
