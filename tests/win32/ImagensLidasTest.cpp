// The answers read from component files and kept between runs: an unchanged file is answered
// without being opened, a changed one is read again, a copy carries its source's answers, and
// a damaged kept file is never believed.
#include "platform/win32/ImagensLidas.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

#include "platform/win32/ArquivosWin32.h"
#include "platform/win32/Recursos.h"
#include "tests/helpers/ApoioTeste.h"

namespace tavoran::win32 {
namespace {

using testes::PastaAjudantes;
using testes::PastaTemporaria;

constexpr const char* kRegistrar = "DllRegisterServer";

// Held without sharing: any open of it fails while its attributes can still be read.
Handle Reter(const std::string& arquivo) {
  return Handle(CreateFileA(arquivo.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
}

std::uint32_t VersaoMenor(const FichaImagem& f) { return f.versao ? f.versao->menosSignificativa : 0xFFFFFFFF; }

void Copiar(const std::string& de, const std::string& para) { ASSERT_TRUE(CopyFileA(de.c_str(), para.c_str(), FALSE)); }

TEST(ImagensLidas, AnUnchangedFileIsAnsweredNextRunWithoutOpeningItAndAChangedOneIsReadAgain) {
  PastaTemporaria pasta{"tav-imagens"};
  const std::string dll = pasta / "COMPONENTE.DLL", guardadas = pasta / "Tavoran\\Componentes.dat";
  Copiar(PastaAjudantes() + "\\com\\ComA.dll", dll);
  {
    ImagensLidas imagens(guardadas);
    const auto f = imagens.Ficha(dll, kRegistrar);
    ASSERT_TRUE(f->valida);
    EXPECT_EQ(VersaoMenor(*f), 10u);
    ASSERT_TRUE(f->typeLib);
    EXPECT_TRUE(f->exporta.at(kRegistrar));
  }
  {
    Handle retido = Reter(dll);
    ASSERT_TRUE(retido.Valido());
    ImagensLidas semGuardadas;
    EXPECT_EQ(semGuardadas.Ficha(dll)->erroAbertura, static_cast<unsigned long>(ERROR_SHARING_VIOLATION));
    ImagensLidas imagens(guardadas);
    const auto f = imagens.Ficha(pasta / "componente.dll", kRegistrar);  // any spelling of the path
    EXPECT_EQ(f->erroAbertura, 0u);
    EXPECT_EQ(VersaoMenor(*f), 10u);
    EXPECT_TRUE(f->typeLib);
    EXPECT_TRUE(f->exporta.at(kRegistrar));
    // A function not asked about before needs the file itself.
    EXPECT_EQ(imagens.Ficha(dll, "DllUnregisterServer")->erroAbertura,
              static_cast<unsigned long>(ERROR_SHARING_VIOLATION));
  }
  // Another build of the component: other bytes, another last-write time.
  Copiar(PastaAjudantes() + "\\com\\ComA_9.dll", dll);
  {
    Handle h(CreateFileA(dll.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    FILETIME agora;
    GetSystemTimeAsFileTime(&agora);
    ASSERT_TRUE(SetFileTime(h.get(), nullptr, nullptr, &agora));
  }
  {
    ImagensLidas imagens(guardadas);
    EXPECT_EQ(VersaoMenor(*imagens.Ficha(dll)), 9u);
  }
  // A kept file damaged by one byte is ignored as a whole.
  {
    std::fstream f(guardadas, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(40);
    f.put('\x5A');
  }
  Handle retido = Reter(dll);
  ImagensLidas imagens(guardadas);
  EXPECT_EQ(imagens.Ficha(dll)->erroAbertura, static_cast<unsigned long>(ERROR_SHARING_VIOLATION));
}

TEST(ImagensLidas, ACopyAndARenameCarryTheSourcesAnswersAndADeleteForgetsThem) {
  PastaTemporaria pasta{"tav-imagens-copia"};
  const std::string origem = pasta / "ORIGEM.DLL", temporario = pasta / "DESTINO.DLL.tmp",
                    destino = pasta / "DESTINO.DLL";
  Copiar(PastaAjudantes() + "\\com\\ComB.dll", origem);
  auto imagens = std::make_shared<ImagensLidas>();
  ArquivosWin32 arquivos(imagens);
  VersaoFixa v;
  ASSERT_TRUE(arquivos.LerVersao(origem, v));
  ASSERT_FALSE(arquivos.Copiar(origem, temporario).Ocorreu());
  ASSERT_FALSE(arquivos.Mover(temporario, destino).Ocorreu());
  {
    Handle retido = Reter(destino);
    VersaoFixa copiada;
    ASSERT_TRUE(arquivos.LerVersao(destino, copiada));
    EXPECT_EQ(copiada.maisSignificativa, v.maisSignificativa);
    EXPECT_EQ(imagens->Ficha(temporario)->erroAbertura, static_cast<unsigned long>(ERROR_FILE_NOT_FOUND));
  }
  // Deleted and written anew by someone else with the same bytes and times: read again.
  ASSERT_FALSE(arquivos.Excluir(destino).Ocorreu());
  Copiar(PastaAjudantes() + "\\com\\ComB.dll", destino);
  Handle retido = Reter(destino);
  EXPECT_FALSE(arquivos.LerVersao(destino, v));
}

}  // namespace
}  // namespace tavoran::win32
