// Files and folders for real: lookups with hidden entries, copy, delete, files in use,
// version resources made by the build, dates, appending.
#include "platform/win32/ArquivosWin32.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/helpers/ApoioTeste.h"

namespace tavoran::win32 {
namespace {

using testes::GravarArquivo;
using testes::PastaAjudantes;
using testes::PastaTemporaria;

class ArquivosWin32Test : public ::testing::Test {
 protected:
  PastaTemporaria pasta{"tav-arquivos"};
  ArquivosWin32 arquivos;
};

std::vector<std::string> Nomes(const std::vector<EntradaPasta>& entradas) {
  std::vector<std::string> nomes;
  for (const auto& e : entradas) nomes.push_back(e.nome);
  std::sort(nomes.begin(), nomes.end());
  return nomes;
}

TEST_F(ArquivosWin32Test, ListarTrazOcultosEPastasSemPontos) {
  GravarArquivo(pasta / "visivel.dll", "a");
  GravarArquivo(pasta / "Relatório.txt", "b");
  GravarArquivo(pasta / "oculto.dll", "c");
  SetFileAttributesA((pasta / "oculto.dll").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  ASSERT_FALSE(arquivos.CriarPasta(pasta / "sub").Ocorreu());

  const auto todos = arquivos.Listar(pasta / "*");
  EXPECT_THAT(Nomes(todos), ::testing::ElementsAre("Relatório.txt", "oculto.dll", "sub", "visivel.dll"));
  for (const auto& e : todos) {
    EXPECT_EQ(e.pasta, e.nome == "sub");
    EXPECT_EQ(e.oculta, e.nome == "oculto.dll");
    EXPECT_EQ(e.sistema, e.nome == "oculto.dll");
  }
  EXPECT_THAT(Nomes(arquivos.Listar(pasta / "*.dll")), ::testing::ElementsAre("oculto.dll", "visivel.dll"));
  EXPECT_TRUE(arquivos.Listar(pasta / "nada\\*").empty());

  // The existence test answers a plain name as the lookup would, whatever the case.
  EXPECT_TRUE(arquivos.ListaArquivo(pasta / "OCULTO.DLL"));
  EXPECT_TRUE(arquivos.ListaArquivo(pasta / "Relatório.txt"));
  EXPECT_FALSE(arquivos.ListaArquivo(pasta / "sub"));
  EXPECT_FALSE(arquivos.ListaArquivo(pasta / "falta.dll"));
  EXPECT_FALSE(arquivos.ListaArquivo(pasta / "nada\\visivel.dll"));
  EXPECT_TRUE(arquivos.ListaArquivo(pasta / "vis*.d?l"));
  EXPECT_FALSE(arquivos.ListaArquivo(pasta / "su*"));
}

TEST_F(ArquivosWin32Test, CriarPastaExistenteOuSemPaiDaNumerosDeExecucao) {
  ASSERT_FALSE(arquivos.CriarPasta(pasta / "Logs").Ocorreu());
  EXPECT_EQ(arquivos.CriarPasta(pasta / "Logs").numero, 75);
  EXPECT_EQ(arquivos.CriarPasta(pasta / "falta\\RYX").numero, 76);
}

TEST_F(ArquivosWin32Test, CopiarSobrescreveEExcluirApaga) {
  GravarArquivo(pasta / "origem.dll", "novo");
  GravarArquivo(pasta / "destino.dll", "antigo e maior");
  ASSERT_FALSE(arquivos.Copiar(pasta / "origem.dll", pasta / "destino.dll").Ocorreu());
  std::string bytes;
  ASSERT_FALSE(arquivos.LerTudo(pasta / "destino.dll", bytes).Ocorreu());
  EXPECT_EQ(bytes, "novo");
  EXPECT_EQ(arquivos.Copiar(pasta / "falta.dll", pasta / "x.dll").numero, 53);
  EXPECT_EQ(arquivos.Copiar(pasta / "origem.dll", pasta / "falta\\x.dll").numero, 76);

  ASSERT_FALSE(arquivos.Excluir(pasta / "destino.dll").Ocorreu());
  EXPECT_FALSE(testes::Existe(pasta / "destino.dll"));
  EXPECT_EQ(arquivos.Excluir(pasta / "destino.dll").numero, 53);
  EXPECT_EQ(arquivos.LerTudo(pasta / "destino.dll", bytes).numero, 53);
}

TEST_F(ArquivosWin32Test, ArquivoEmUsoNaoSaiNemESobrescrito) {
  GravarArquivo(pasta / "Tavoran.bk", "copia");
  GravarArquivo(pasta / "origem.dll", "novo");
  HANDLE preso = CreateFileA((pasta / "Tavoran.bk").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(preso, INVALID_HANDLE_VALUE);
  EXPECT_EQ(arquivos.Excluir(pasta / "Tavoran.bk").numero, 70);
  EXPECT_EQ(arquivos.Copiar(pasta / "origem.dll", pasta / "Tavoran.bk").numero, 70);
  std::unique_ptr<IArquivoAberto> aberto;
  EXPECT_EQ(arquivos.AbrirParaAcrescentar(pasta / "Tavoran.bk", aberto).numero, 70);
  CloseHandle(preso);
  EXPECT_FALSE(arquivos.Excluir(pasta / "Tavoran.bk").Ocorreu());
}

TEST_F(ArquivosWin32Test, AcrescentarGuardaOsBytesExatos) {
  {
    std::unique_ptr<IArquivoAberto> aberto;
    ASSERT_FALSE(arquivos.AbrirParaAcrescentar(pasta / "r.html", aberto).Ocorreu());
    ASSERT_FALSE(aberto->Escrever("<html>\r\n").Ocorreu());
  }
  {
    std::unique_ptr<IArquivoAberto> aberto;
    ASSERT_FALSE(arquivos.AbrirParaAcrescentar(pasta / "r.html", aberto).Ocorreu());
    // Another reader may look at the report while it grows.
    std::string enquanto;
    EXPECT_FALSE(arquivos.LerTudo(pasta / "r.html", enquanto).Ocorreu());
    ASSERT_FALSE(aberto->Escrever(std::string("A\xE7\xE3o\0<", 6)).Ocorreu());
  }
  std::string bytes;
  ASSERT_FALSE(arquivos.LerTudo(pasta / "r.html", bytes).Ocorreu());
  EXPECT_EQ(bytes, std::string("<html>\r\nA\xE7\xE3o\0<", 14));
  std::unique_ptr<IArquivoAberto> aberto;
  EXPECT_EQ(arquivos.AbrirParaAcrescentar(pasta / "falta\\r.html", aberto).numero, 76);
}

TEST_F(ArquivosWin32Test, DataDeModificacaoEmHoraLocal) {
  GravarArquivo(pasta / "datado.dll", "x");
  SYSTEMTIME local{2024, 2, 0, 29, 23, 58, 7, 0}, utc{};
  TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc);
  FILETIME ft;
  SystemTimeToFileTime(&utc, &ft);
  HANDLE h = CreateFileA((pasta / "datado.dll").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_TRUE(SetFileTime(h, nullptr, nullptr, &ft));
  CloseHandle(h);
  DataHora d;
  ASSERT_TRUE(arquivos.LerDataModificacao(pasta / "datado.dll", d));
  EXPECT_EQ(d, (DataHora{2024, 2, 29, 23, 58, 7}));
  EXPECT_FALSE(arquivos.LerDataModificacao(pasta / "falta.dll", d));
}

TEST(VersaoWin32Test, LeAVersaoFixaDosComponentesDaBuild) {
  ArquivosWin32 arquivos;
  VersaoFixa v;
  ASSERT_TRUE(arquivos.LerVersao(PastaAjudantes() + "\\ComponenteV2_10.dll", v));
  EXPECT_EQ(v.maisSignificativa, (2u << 16) | 10u);
  EXPECT_EQ(v.menosSignificativa, (0u << 16) | 7u);
  ASSERT_TRUE(arquivos.LerVersao(PastaAjudantes() + "\\ProgramaV1.exe", v));
  EXPECT_EQ(v.maisSignificativa, 1u << 16);
  EXPECT_EQ(v.menosSignificativa, (65535u << 16) | 3u);
  EXPECT_FALSE(arquivos.LerVersao(PastaAjudantes() + "\\SemVersao.dll", v));
  EXPECT_FALSE(arquivos.LerVersao(PastaAjudantes() + "\\NaoExiste.dll", v));
}

TEST(VersaoWin32Test, LeAVersaoDeUmaBibliotecaDoProprioWindows) {
  char sistema[MAX_PATH] = {};
  GetSystemDirectoryA(sistema, MAX_PATH);
  ArquivosWin32 arquivos;
  VersaoFixa v;
  ASSERT_TRUE(arquivos.LerVersao(std::string(sistema) + "\\msxml3.dll", v));
  EXPECT_GT(v.maisSignificativa, 0u);
}

}  // namespace
}  // namespace tavoran::win32
