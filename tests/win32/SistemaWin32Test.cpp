// Names, command line, program folder, previous instance, operating system, processes.
#include "platform/win32/SistemaWin32.h"

#include <gtest/gtest.h>

#include <regex>

#include "platform/win32/ProcessosWin32.h"
#include "tests/helpers/ApoioTeste.h"

namespace tavoran::win32 {
namespace {

TEST(SistemaWin32Test, NomeDoComputadorNumBufferDe256Brancos) {
  SistemaWin32 sistema;
  std::string buffer;
  ASSERT_TRUE(sistema.NomeComputador(buffer));
  EXPECT_EQ(buffer.size(), 256u);
  char esperado[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD n = sizeof esperado;
  GetComputerNameA(esperado, &n);
  EXPECT_EQ(buffer.substr(0, n), esperado);
  EXPECT_EQ(buffer[n], '\0');
  EXPECT_EQ(buffer.back(), ' ');
}

TEST(SistemaWin32Test, NomeDoUsuarioComOTamanhoDevolvido) {
  SistemaWin32 sistema;
  std::string buffer;
  std::uint32_t tamanho = 0;
  ASSERT_TRUE(sistema.NomeUsuario(buffer, tamanho));
  ASSERT_GT(tamanho, 1u);
  EXPECT_EQ(buffer.find('\0'), tamanho - 1);
}

TEST(SistemaWin32Test, LoginDoWtsClientSoQuandoABibliotecaExiste) {
  SistemaWin32 sistema;
  EXPECT_EQ(sistema.LoginWindows(), "");
  SetDllDirectoryA((testes::PastaAjudantes() + "\\wtsclient").c_str());
  EXPECT_EQ(sistema.LoginWindows(), "usuário.remoto");
  SetDllDirectoryA(nullptr);
}

TEST(SistemaWin32Test, ArgumentosDepoisDoNomeDoPrograma) {
  EXPECT_EQ(SistemaWin32::ArgumentosDe("\"P:\\Tavoran win\\TAVORAN.EXE\" A"), "A");
  EXPECT_EQ(SistemaWin32::ArgumentosDe("P:\\Tavoran.win\\TAVORAN.EXE A"), "A");
  EXPECT_EQ(SistemaWin32::ArgumentosDe("TAVORAN.EXE  A"), " A");
  EXPECT_EQ(SistemaWin32::ArgumentosDe("TAVORAN.EXE A mais"), "A mais");
  EXPECT_EQ(SistemaWin32::ArgumentosDe("\"C:\\x\\TAVORAN.EXE\""), "");
  EXPECT_EQ(SistemaWin32::ArgumentosDe("TAVORAN.EXE"), "");
}

TEST(SistemaWin32Test, PastaDoProgramaSemBarraFinal) {
  SistemaWin32 sistema;
  EXPECT_EQ(sistema.PastaPrograma(), testes::PastaDoTeste());
  EXPECT_NE(sistema.PastaPrograma().back(), '\\');
}

TEST(SistemaWin32Test, OutraInstanciaSoEnquantoAPrimeiraVive) {
  auto primeira = std::make_unique<SistemaWin32>();
  EXPECT_FALSE(primeira->OutraInstanciaNaSessao());
  EXPECT_FALSE(primeira->OutraInstanciaNaSessao());  // the answer stays
  {
    SistemaWin32 segunda;
    EXPECT_TRUE(segunda.OutraInstanciaNaSessao());
  }
  primeira.reset();
  SistemaWin32 terceira;
  EXPECT_FALSE(terceira.OutraInstanciaNaSessao());
}

TEST(SistemaWin32Test, SistemaOperacionalComoAClasseDoWmi) {
  SistemaWin32 sistema;
  std::string nome, versao;
  ASSERT_TRUE(sistema.SistemaOperacional(nome, versao));
  EXPECT_EQ(nome.rfind("Microsoft Windows", 0), 0u) << nome;
  EXPECT_TRUE(std::regex_match(versao, std::regex("[0-9]+\\.[0-9]+\\.[0-9]+"))) << versao;
}

TEST(ProcessosWin32Test, ListaTrazEsteProcessoComCaminhoESessao) {
  ProcessosWin32 processos;
  const auto lista = processos.Listar();
  DWORD sessao = 0;
  ProcessIdToSessionId(GetCurrentProcessId(), &sessao);
  bool achou = false;
  for (const auto& p : lista) {
    if (p.id != GetCurrentProcessId()) continue;
    achou = true;
    EXPECT_EQ(p.nome, "tests_win32.exe");
    EXPECT_EQ(p.caminho, testes::PastaDoTeste() + "\\tests_win32.exe");
    EXPECT_EQ(p.sessao, sessao);
  }
  EXPECT_TRUE(achou);
  EXPECT_GT(lista.size(), 1u);
}

}  // namespace
}  // namespace tavoran::win32
