// The file reader of versions and exports against the system's own functions: every library
// and program of Wine's system folders and of this build must read the same; copies cut short
// are no library, and damaged headers are read without going past the file's end.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>
#include <oleauto.h>

#include "platform/win32/ArquivoImagemPe.h"
#include "platform/win32/ArquivosWin32.h"
#include "platform/win32/BibliotecasWin32.h"
#include "tests/helpers/ApoioTeste.h"

namespace tavoran::win32 {
namespace {

std::vector<std::string> Arquivos(const std::string& pasta, const char* padrao) {
  std::vector<std::string> caminhos;
  WIN32_FIND_DATAA d;
  HANDLE h = FindFirstFileA((pasta + "\\" + padrao).c_str(), &d);
  if (h == INVALID_HANDLE_VALUE) return caminhos;
  do {
    if (!(d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) caminhos.push_back(pasta + "\\" + d.cFileName);
  } while (FindNextFileA(h, &d));
  FindClose(h);
  return caminhos;
}

std::vector<std::string> Amostra() {
  std::vector<std::string> todos;
  for (const char* pasta : {"C:\\windows\\system32", "C:\\windows\\syswow64"})
    for (const char* padrao : {"*.dll", "*.ocx", "*.exe"})
      for (const auto& c : Arquivos(pasta, padrao)) todos.push_back(c);
  for (const auto& c : Arquivos(testes::PastaAjudantes(), "*.*")) todos.push_back(c);
  for (const auto& c : Arquivos(testes::PastaAjudantes() + "\\com", "*.dll")) todos.push_back(c);
  return todos;
}

bool VersaoDoSistema(const std::string& arquivo, VersaoFixa& versao) {
  DWORD ignorado = 0;
  const DWORD tamanho = GetFileVersionInfoSizeA(arquivo.c_str(), &ignorado);
  if (tamanho == 0) return false;
  std::string bloco(tamanho, '\0');
  VS_FIXEDFILEINFO* fixa = nullptr;
  UINT n = 0;
  if (!GetFileVersionInfoA(arquivo.c_str(), 0, tamanho, bloco.data()) ||
      !VerQueryValueA(bloco.data(), "\\", reinterpret_cast<void**>(&fixa), &n) || fixa == nullptr)
    return false;
  versao = {fixa->dwFileVersionMS, fixa->dwFileVersionLS};
  return true;
}

TEST(ImagemPe, VersionsAndRegistrationExportsReadAsTheSystemReadsThem) {
  const auto amostra = Amostra();
  ASSERT_GT(amostra.size(), 200u);
  ArquivosWin32 arquivos;
  BibliotecasWin32 bibliotecas;
  int comVersao = 0, comRegistro = 0;
  for (const std::string& arquivo : amostra) {
    VersaoFixa esperada, lida;
    const bool temEsperada = VersaoDoSistema(arquivo, esperada);
    EXPECT_EQ(arquivos.LerVersao(arquivo, lida), temEsperada) << arquivo;
    if (temEsperada) {
      ++comVersao;
      EXPECT_EQ(lida.maisSignificativa, esperada.maisSignificativa) << arquivo;
      EXPECT_EQ(lida.menosSignificativa, esperada.menosSignificativa) << arquivo;
    }
    // The export as a mapped image without its code run shows it.
    HMODULE m = LoadLibraryExA(arquivo.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    if (m == nullptr) continue;
    const bool esperado = GetProcAddress(m, "DllRegisterServer") != nullptr;
    FreeLibrary(m);
    bool exporta = !esperado;
    if (bibliotecas.Exporta(arquivo, "DllRegisterServer", exporta).Ocorreu()) continue;  // other architecture
    EXPECT_EQ(exporta, esperado) << arquivo;
    comRegistro += exporta;
  }
  EXPECT_GT(comVersao, 100);
  EXPECT_GT(comRegistro, 20);
}

// Where the file's bytes give a type library, the system's loader gives the same identity.
TEST(ImagemPe, TypeLibrariesReadAsTheSystemLoadsThem) {
  int lidas = 0;
  for (const std::string& arquivo : Amostra()) {
    const std::optional<TypeLibPe> lida = ArquivoImagemPe(arquivo).Imagem().TypeLib();
    if (!lida) continue;
    ++lidas;
    ITypeLib* lib = nullptr;
    ASSERT_EQ(LoadTypeLibEx(Utf16(arquivo).c_str(), REGKIND_NONE, &lib), S_OK) << arquivo;
    TLIBATTR* atributos = nullptr;
    ASSERT_EQ(lib->GetLibAttr(&atributos), S_OK) << arquivo;
    EXPECT_EQ(std::memcmp(&atributos->guid, lida->guid.data(), 16), 0) << arquivo;
    EXPECT_EQ(atributos->wMajorVerNum, lida->versaoMaior) << arquivo;
    EXPECT_EQ(atributos->wMinorVerNum, lida->versaoMenor) << arquivo;
    EXPECT_EQ(atributos->lcid, lida->lcid) << arquivo;
    lib->ReleaseTLibAttr(atributos);
    lib->Release();
  }
  EXPECT_GT(lidas, 10);
}

TEST(ImagemPe, DamagedCopiesAreNoLibraryAndHaveNoVersion) {
  testes::PastaTemporaria pasta("tav-imagem");
  const std::string original = testes::LerArquivo(testes::PastaAjudantes() + "\\com\\ComA.dll");
  ASSERT_GT(original.size(), 4096u);
  ArquivosWin32 arquivos;
  BibliotecasWin32 bibliotecas;
  VersaoFixa versao;
  bool exporta = false;
  for (std::size_t corte : {std::size_t{0}, std::size_t{63}, std::size_t{300}, original.size() / 2}) {
    const std::string copia = pasta / ("cortada" + std::to_string(corte) + ".dll");
    testes::GravarArquivo(copia, original.substr(0, corte));
    EXPECT_TRUE(bibliotecas.Exporta(copia, "DllRegisterServer", exporta).Ocorreu()) << corte;
    VersaoFixa doSistema;
    EXPECT_EQ(arquivos.LerVersao(copia, versao), VersaoDoSistema(copia, doSistema)) << corte;
  }
  // Every header field a reader could follow, overwritten in turn with large numbers.
  for (std::size_t posicao = 60; posicao < 1024; posicao += 4) {
    std::string copia = original;
    copia.replace(posicao, 4, "\xF0\xFF\xFF\x7F", 4);
    const std::string caminho = pasta / "alterada.dll";
    testes::GravarArquivo(caminho, copia);
    bibliotecas.Exporta(caminho, "DllRegisterServer", exporta);
    arquivos.LerVersao(caminho, versao);
  }
  // The type library's tables, overwritten in turn: read or not, never past the file's end.
  for (std::size_t posicao = 0; posicao < original.size(); posicao += 97) {
    std::string copia = original;
    copia.replace(posicao, 4, "\xF0\xFF\xFF\x7F", 4);
    const std::string caminho = pasta / "tipos.dll";
    testes::GravarArquivo(caminho, copia);
    ArquivoImagemPe(caminho).Imagem().TypeLib();
  }
  const std::string texto = pasta / "tipos.tlb";
  testes::GravarArquivo(texto, "MSFT\x02\x00\x01\x00 not a program");
  EXPECT_TRUE(bibliotecas.Exporta(texto, "DllRegisterServer", exporta).Ocorreu());
}

}  // namespace
}  // namespace tavoran::win32
