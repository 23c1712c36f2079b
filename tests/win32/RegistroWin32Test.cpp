// The registry for real: round trips in the 32-bit view, text conversion, missing keys.
#include "platform/win32/RegistroWin32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "platform/Texto.h"

namespace tavoran::win32 {
namespace {

constexpr const char* kChave = "SOFTWARE\\Tavoran\\TestesWin32";

// The test key in the 32-bit view, whatever the bitness of the test program.
HKEY AbrirNaVisao32(REGSAM acesso) {
  HKEY h = nullptr;
  return RegOpenKeyExA(HKEY_LOCAL_MACHINE, kChave, 0, acesso | KEY_WOW64_32KEY, &h) == ERROR_SUCCESS ? h : nullptr;
}

class RegistroWin32Test : public ::testing::Test {
 protected:
  void TearDown() override {
    if (HKEY h = AbrirNaVisao32(KEY_ALL_ACCESS)) {
      RegDeleteTreeA(h, nullptr);
      RegCloseKey(h);
      RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kChave, KEY_WOW64_32KEY, 0);
    }
  }
  RegistroWin32 registro;
};

TEST_F(RegistroWin32Test, TextoGravadoVoltaIgualEFicaEmCp1252) {
  std::unique_ptr<IChaveRegistro> chave;
  ASSERT_FALSE(registro.Criar(RaizRegistro::LocalMachine, kChave, chave).Ocorreu());
  ASSERT_FALSE(chave->Gravar("", kRegSz, "P:\\Tavoran.win\\Atualização").Ocorreu());
  ASSERT_FALSE(chave->Fechar().Ocorreu());

  std::unique_ptr<IChaveRegistro> lida;
  ASSERT_FALSE(registro.Abrir(RaizRegistro::LocalMachine, kChave, lida).Ocorreu());
  std::uint32_t tipo = 0;
  std::string dados;
  ASSERT_FALSE(lida->Consultar("", tipo, dados).Ocorreu());
  EXPECT_EQ(tipo, kRegSz);
  EXPECT_EQ(AteNulo(dados), "P:\\Tavoran.win\\Atualização");

  // The stored bytes are Windows-1252 (Wine adds a NUL that Windows would not store).
  HKEY h = AbrirNaVisao32(KEY_READ);
  ASSERT_NE(h, nullptr);
  char bruto[64] = {};
  DWORD tamanho = sizeof bruto, t = 0;
  ASSERT_EQ(RegQueryValueExA(h, "", nullptr, &t, reinterpret_cast<BYTE*>(bruto), &tamanho), ERROR_SUCCESS);
  RegCloseKey(h);
  EXPECT_EQ(AteNulo(std::string(bruto, tamanho)), "P:\\Tavoran.win\\Atualiza\xE7\xE3o");
}

TEST_F(RegistroWin32Test, DwordENulosInternosChegamComoGravados) {
  std::unique_ptr<IChaveRegistro> chave;
  ASSERT_FALSE(registro.Criar(RaizRegistro::LocalMachine, kChave, chave).Ocorreu());
  ASSERT_FALSE(chave->Gravar("Release", kRegDword, std::string("\x01\x02\x00\x00", 4)).Ocorreu());
  HKEY h = AbrirNaVisao32(KEY_WRITE);
  ASSERT_NE(h, nullptr);
  RegSetValueExA(h, "ComNulo", 0, REG_SZ, reinterpret_cast<const BYTE*>("abc\0def\0"), 8);
  RegCloseKey(h);

  std::uint32_t tipo = 0;
  std::string dados;
  ASSERT_FALSE(chave->Consultar("Release", tipo, dados).Ocorreu());
  EXPECT_EQ(tipo, kRegDword);
  EXPECT_EQ(dados, std::string("\x01\x02\x00\x00", 4));
  ASSERT_FALSE(chave->Consultar("ComNulo", tipo, dados).Ocorreu());
  EXPECT_EQ(dados, std::string("abc\0def\0", 8));
}

TEST_F(RegistroWin32Test, FicaNaVisao32BitsDoHklm) {
  std::unique_ptr<IChaveRegistro> chave;
  ASSERT_FALSE(registro.Criar(RaizRegistro::LocalMachine, kChave, chave).Ocorreu());
  ASSERT_FALSE(chave->Gravar("UNC", kRegSz, "\\\\servidor\\tavoran").Ocorreu());
  chave.reset();

  HKEY h;
  EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kChave, 0, KEY_READ | KEY_WOW64_32KEY, &h), ERROR_SUCCESS);
  RegCloseKey(h);
  // The 64-bit view holds it only under Wow6432Node.
  EXPECT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kChave, 0, KEY_READ | KEY_WOW64_64KEY, &h), ERROR_SUCCESS);
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Wow6432Node\\Tavoran\\TestesWin32", 0,
                          KEY_READ | KEY_WOW64_64KEY, &h),
            ERROR_SUCCESS);
  RegCloseKey(h);
}

TEST_F(RegistroWin32Test, ChaveOuValorAusenteEChaveFechada) {
  std::unique_ptr<IChaveRegistro> chave;
  const Falha ausente = registro.Abrir(RaizRegistro::LocalMachine, "SOFTWARE\\Tavoran\\NaoExiste\\Mesmo", chave);
  EXPECT_EQ(ausente.codigoWindows, 2u);
  EXPECT_EQ(ausente.numero, 53);  // through the one Windows-error table
  EXPECT_EQ(chave, nullptr);
  ASSERT_FALSE(registro.Criar(RaizRegistro::LocalMachine, kChave, chave).Ocorreu());
  std::uint32_t tipo = 0;
  std::string dados;
  EXPECT_EQ(chave->Consultar("Ausente", tipo, dados).codigoWindows, 2u);
  EXPECT_FALSE(chave->Fechar().Ocorreu());
  EXPECT_TRUE(chave->Fechar().Ocorreu());
  EXPECT_TRUE(chave->Consultar("", tipo, dados).Ocorreu());
  EXPECT_TRUE(chave->Gravar("x", kRegSz, "y").Ocorreu());
}

}  // namespace
}  // namespace tavoran::win32
