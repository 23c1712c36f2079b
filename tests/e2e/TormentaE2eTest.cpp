// The morning storm: copies of the program for one computer started together from eight Wine
// prefixes on one share (eight Wine servers, as the sessions of one terminal server), and
// eight computers updating at once. tormenta.sh starts the halves: Preparar, then per
// repetition Reiniciar, eight UmaCopia at once (TAV_E2E_TORMENTA=<copy>), and Verificar.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "btrieve/clsTavBtr20.h"
#include "platform/win32/ArquivosWin32.h"
#include "platform/win32/BtrieveWin32.h"
#include "records/clsRyxMaqBloqueio.h"
#include "tests/e2e/EstacaoTeste.h"
#include "tests/helpers/ApoioTeste.h"

namespace tavoran::testes {
namespace {

const std::string kResultados = std::string(EstacaoTeste::kRaiz) + "\\tormenta";
const std::string kMensagemBloqueioTs =
    "ExecutarVerificacoesTerminalService - A atualização de componentes se encontra em execução por outra "
    "estação via Terminal Service.\r\nTente novamente mais tarde.";
const std::string kMensagemBloqueioArquivo =
    "ExibirMensagemBloqueio - A atualização de componentes esta sendo executada por outras estações fora do "
    "Terminal Service.\r\nTente novamente mais tarde.";

std::string Papel() {
  char valor[32] = {};
  const DWORD n = GetEnvironmentVariableA("TAV_E2E_TORMENTA", valor, sizeof valor);
  return n > 0 && n < sizeof valor ? std::string(valor, n) : std::string();
}

std::size_t Ocorrencias(const std::string& texto, const std::string& parte) {
  std::size_t n = 0;
  for (auto p = texto.find(parte); p != std::string::npos; p = texto.find(parte, p + 1)) ++n;
  return n;
}

class Tormenta : public ::testing::Test {
 protected:
  void SetUp() override {
    if (Papel().empty()) GTEST_SKIP() << "runs only under tests/e2e/tormenta.sh";
  }
  // Every update report of the share: each update writes its header once.
  std::string Relatorios() const {
    std::string todos;
    const std::string pasta = estacao.DirT() + "\\Logs\\RYX";
    for (const auto& nome : estacao.Arquivos(pasta)) todos += LerArquivo(pasta + "\\" + nome);
    return todos;
  }
  EstacaoTeste estacao;
};

// The share: the test workstation and enough components that an update takes its time.
TEST_F(Tormenta, Preparar) {
  estacao.Preparar();
  const std::string componentes = estacao.DirT() + "\\KORA\\COMPONENTES";
  for (int i = 0; i < 30; ++i)
    CopyFileA(EstacaoTeste::ComponenteCom("ComA").c_str(), (componentes + "\\TORMENTA" + std::to_string(i) + ".DLL").c_str(),
              FALSE);
  for (int i = 0; i < 60; ++i)
    CopyFileA((PastaAjudantes() + "\\ProgramaV1.exe").c_str(),
              (componentes + "\\TORMENTA" + std::to_string(i) + ".EXE").c_str(), FALSE);
  CreateDirectoryA(kResultados.c_str(), nullptr);
}

// Before each repetition: no record, no reports, no outcomes.
TEST_F(Tormenta, Reiniciar) {
  estacao.Tavadmin("remover " + estacao.DirT() + " " + estacao.NomeComputador());
  for (const char* pasta : {"\\Logs\\RYX\\Erros", "\\Logs\\RYX"})
    for (const auto& nome : estacao.Arquivos(estacao.DirT() + pasta)) DeleteFileA((estacao.DirT() + pasta + "\\" + nome).c_str());
  for (const auto& nome : estacao.Arquivos(kResultados)) DeleteFileA((kResultados + "\\" + nome).c_str());
  DeleteFileA((std::string(EstacaoTeste::kRaiz) + "\\comandos.txt").c_str());
}

// One copy: runs to its end, answering every box, and writes what it met.
TEST_F(Tormenta, UmaCopia) {
  estacao.PrepararRegistro();  // the stand-ins record to the share
  ExecucaoTavoran tavoran(estacao.DirT() + "\\TAVORAN.EXE", "");
  ASSERT_TRUE(tavoran.EsperarFim(300000));
  std::string resultado = "sem caixa";
  for (const auto& caixa : tavoran.caixasVistas) resultado = caixa.texto;
  GravarArquivo(kResultados + "\\copia-" + Papel() + ".txt", resultado);
}

// One computer: exactly one copy updated; every other one met a lock message or started the
// manager once the first had recorded the computer; one record, a sound file, no lock held.
TEST_F(Tormenta, Verificar) {
  const auto resultados = estacao.Arquivos(kResultados);
  ASSERT_EQ(resultados.size(), 8u);
  int bloqueadas = 0, semCaixa = 0;
  for (const auto& nome : resultados) {
    const std::string texto = LerArquivo(kResultados + "\\" + nome);
    if (texto == kMensagemBloqueioTs || texto == kMensagemBloqueioArquivo)
      ++bloqueadas;
    else if (texto == "sem caixa")
      ++semCaixa;
    else
      ADD_FAILURE() << nome << ": " << texto;
  }
  const std::string relatorios = Relatorios();
  EXPECT_EQ(Ocorrencias(relatorios, "<html>"), 1u) << "updates";
  EXPECT_TRUE(estacao.Arquivos(estacao.DirT() + "\\Logs\\RYX\\Erros").empty());
  const std::string comandos = estacao.Comandos();
  EXPECT_EQ(Ocorrencias(comandos, "KemCriaArq.exe|"), static_cast<std::size_t>(semCaixa));
  EXPECT_EQ(bloqueadas + semCaixa, 8);
  std::string saida;
  EXPECT_EQ(estacao.Tavadmin("verificar " + estacao.DirT() + "\\SELVCOMP.BTR", &saida), 0) << saida;
  estacao.Tavadmin("estacoes " + estacao.DirT(), &saida);
  EXPECT_EQ(Ocorrencias(saida, estacao.NomeComputador() + " "), 1u) << saida;
  // Nobody holds the lock file: it is gone, or it opens exclusively.
  win32::ArquivosWin32 arquivos;
  auto btrieve = CriarBtrieveWin32(PastaDoTeste() + "\\wbtrv32.dll");
  clsRyxMaqBloqueio bloqueio(*btrieve, arquivos);
  bloqueio.Diretorio(estacao.DirT());
  bloqueio.MaquinaNome(estacao.NomeComputador());
  if (bloqueio.ArquivoExiste()) {
    EXPECT_TRUE(bloqueio.Abrir(OperacaoBtrieve::kModoExclusivo, "")) << bloqueio.ErroDescricao();
  }
}

// Eight computers at once: each updates under its own lock and is recorded; none waits for,
// nor refuses, another.
TEST_F(Tormenta, VerificarComputadores) {
  const auto resultados = estacao.Arquivos(kResultados);
  ASSERT_EQ(resultados.size(), 8u);
  for (const auto& nome : resultados) EXPECT_EQ(LerArquivo(kResultados + "\\" + nome), "sem caixa") << nome;
  EXPECT_EQ(Ocorrencias(Relatorios(), "<html>"), 8u);
  EXPECT_EQ(Ocorrencias(estacao.Comandos(), "KemCriaArq.exe|"), 8u);
  std::string saida;
  EXPECT_EQ(estacao.Tavadmin("verificar " + estacao.DirT() + "\\SELVCOMP.BTR", &saida), 0) << saida;
  estacao.Tavadmin("estacoes " + estacao.DirT(), &saida);
  for (int i = 1; i <= 8; ++i) EXPECT_EQ(Ocorrencias(saida, "TAVPC0" + std::to_string(i) + " "), 1u) << saida;
}

}  // namespace
}  // namespace tavoran::testes
