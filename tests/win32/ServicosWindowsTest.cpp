// Special folders, regional settings, window titles, drive mapping, shell, XML.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/Texto.h"
#include "platform/win32/ComWin32.h"
#include "platform/win32/JanelasWin32.h"
#include "platform/win32/PastasEspeciaisWin32.h"
#include "platform/win32/RegionalWin32.h"
#include "platform/win32/ShellWin32.h"
#include "platform/win32/UnidadesWin32.h"
#include "tests/helpers/ApoioTeste.h"

namespace tavoran::win32 {
namespace {

using testes::PastaTemporaria;

TEST(PastasEspeciaisWin32Test, AVarreduraDosCsidlAchaSyswow64AntesDeSystem32) {
  PastasEspeciaisWin32 pastas;
  std::string caminho, primeiroWow, primeiroSystem32;
  for (int csidl = 0; csidl <= 100; ++csidl) {
    if (pastas.Caminho(csidl, caminho) != ResultadoPastaEspecial::Ok) continue;
    const std::string m = Maiusculas(caminho);
    if (primeiroWow.empty() && m.find("SYSWOW64") != std::string::npos) primeiroWow = caminho;
    if (primeiroSystem32.empty() && m.find("SYSTEM32") != std::string::npos) primeiroSystem32 = caminho;
  }
  EXPECT_TRUE(IguaisSemCaixa(primeiroWow, "C:\\windows\\syswow64")) << primeiroWow;
  EXPECT_TRUE(IguaisSemCaixa(primeiroSystem32, "C:\\windows\\system32")) << primeiroSystem32;
  ASSERT_EQ(pastas.Caminho(36, caminho), ResultadoPastaEspecial::Ok);
  EXPECT_TRUE(IguaisSemCaixa(caminho, "C:\\windows"));
  EXPECT_EQ(pastas.Caminho(0x7F, caminho), ResultadoPastaEspecial::FalhaLocalizacao);
  // "My Computer" has an item list but no path: the second call is the one that fails.
  EXPECT_EQ(pastas.Caminho(0x11, caminho), ResultadoPastaEspecial::FalhaCaminho);
}

// The second thread's reading must answer exactly as the shell does when asked on the spot,
// also for the folders asked for while it is still reading, and an object dropped at once
// must wait for its reader.
TEST(PastasEspeciaisWin32Test, ALeituraAdianteRespondeComoAConsultaNaHora) {
  { PastasEspeciaisWin32 descartada; }
  PastasEspeciaisWin32 adiante, naHora(false);
  for (int csidl = 0; csidl <= 0x7F; ++csidl) {
    std::string a = "?", h = "?";
    EXPECT_EQ(adiante.Caminho(csidl, a), naHora.Caminho(csidl, h)) << csidl;
    EXPECT_EQ(a, h) << csidl;
  }
}

// The automation library is loaded by the first routine that needs it: a type library kept
// outside a program is read through it, and an unknown one is looked up through it.
TEST(ComWin32Test, TypeLibAvulsaLidaEProcuradaPelaBibliotecaCarregadaNaHora) {
  ComWin32 com;
  IdTypeLib id;
  ASSERT_FALSE(com.LerTypeLib(testes::PastaAjudantes() + "\\gerado\\ComTlb\\ComTlb.tlb", id).Ocorreu());
  EXPECT_EQ(id.guid, "{5A1E0000-7A40-4C2B-9E10-000000000000}");
  EXPECT_EQ(id.versaoMaior, 1);
  EXPECT_EQ(id.versaoMenor, 0);
  id.guid = "{5A1E00FF-7A40-4C2B-9E10-0000000000FF}";  // registered by no test
  bool registrada = true;
  ASSERT_FALSE(com.TypeLibRegistrada(id, registrada).Ocorreu());
  EXPECT_FALSE(registrada);
  EXPECT_TRUE(com.LerTypeLib(testes::PastaAjudantes() + "\\NaoExiste.tlb", id).Ocorreu());
}

TEST(RegionalWin32Test, DataCurtaGravadaELidaDeVolta) {
  RegionalWin32 regional;
  const std::uint32_t lcid = regional.IdLocalePadraoSistema();
  ASSERT_NE(lcid, 0u);
  std::string original;
  const int n = regional.LerInfo(lcid, kLocaleDataCurta, 0, original);
  ASSERT_GT(n, 1);
  ASSERT_EQ(regional.LerInfo(lcid, kLocaleDataCurta, n, original), n);
  original = AteNulo(original);

  ASSERT_TRUE(regional.GravarInfo(lcid, kLocaleDataCurta, "d/M/yy"));
  std::string lido;
  const int m = regional.LerInfo(lcid, kLocaleDataCurta, 0, lido);
  EXPECT_EQ(m, 7);
  EXPECT_EQ(regional.LerInfo(lcid, kLocaleDataCurta, m, lido), 7);
  EXPECT_EQ(lido, std::string("d/M/yy\0", 7));
  ASSERT_TRUE(regional.GravarInfo(lcid, kLocaleDataCurta, "dd/MM/yyyy"));
  regional.LerInfo(lcid, kLocaleDataCurta, 11, lido);
  EXPECT_EQ(AteNulo(lido), "dd/MM/yyyy");
  regional.GravarInfo(lcid, kLocaleDataCurta, original);
}

// A hidden top-level window with a title, and the settings-change broadcasts it receives.
class JanelaTitulada {
 public:
  explicit JanelaTitulada(const std::string& titulo) {
    WNDCLASSA c{};
    c.lpfnWndProc = &JanelaTitulada::Procedimento;
    c.hInstance = GetModuleHandleA(nullptr);
    c.lpszClassName = "JanelaTituladaTeste";
    RegisterClassA(&c);
    janela = CreateWindowExA(0, c.lpszClassName, ParaCp1252(titulo).c_str(), WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                             nullptr, c.hInstance, nullptr);
  }
  ~JanelaTitulada() { DestroyWindow(janela); }
  HWND janela;
  static inline int mudancas = 0;

 private:
  static LRESULT CALLBACK Procedimento(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_SETTINGCHANGE) ++mudancas;
    return DefWindowProcA(h, m, w, l);
  }
};

TEST(JanelasWin32Test, TitulosDasJanelasDeNivelSuperiorAte99Caracteres) {
  JanelaTitulada kem("Gerenciador de Aplicativos Tavoran - Versão 9.1");
  JanelaTitulada longa(std::string(150, 'x'));
  JanelasWin32 janelas;
  for (IdJanela inicio : {IdJanela{0}, reinterpret_cast<IdJanela>(longa.janela)}) {
    const auto titulos = janelas.TitulosDesde(inicio);
    EXPECT_THAT(titulos, ::testing::Contains("Gerenciador de Aplicativos Tavoran - Versão 9.1"));
    EXPECT_THAT(titulos, ::testing::Contains(std::string(99, 'x')));
  }
}

TEST(JanelasWin32Test, DifusaoDeMudancaDeConfiguracaoChegaAsJanelas) {
  JanelaTitulada janela("ouvinte");
  JanelaTitulada::mudancas = 0;
  JanelasWin32().DifundirMudancaConfiguracao();
  MSG m;
  const ULONGLONG fim = GetTickCount64() + 5000;
  while (JanelaTitulada::mudancas == 0 && GetTickCount64() < fim) {
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    Sleep(10);
  }
  EXPECT_GE(JanelaTitulada::mudancas, 1);
}

TEST(UnidadesWin32Test, MapearUmCompartilhamentoInexistenteFalhaComOCodigoDoWindows) {
  UnidadesWin32 unidades;
  const Falha r = unidades.Mapear("\\\\servidor-inexistente\\tavoran", "Q:");
  EXPECT_TRUE(r.Ocorreu());
  EXPECT_NE(r.codigoWindows, 0u);
  EXPECT_EQ(GetDriveTypeA("Q:\\"), static_cast<UINT>(DRIVE_NO_ROOT_DIR));
}

TEST(ShellWin32Test, IniciaSemEsperarEDevolveOIdDoProcesso) {
  PastaTemporaria pasta("tav-shell");
  const std::string registro = pasta / "comandos.txt";
  SetEnvironmentVariableA("TAV_REGISTRO_COMANDOS", registro.c_str());
  ShellWin32 shell;
  std::uint32_t id = 0;
  const std::string programa = testes::PastaAjudantes() + "\\KemCriaArq.exe";
  ASSERT_FALSE(shell.IniciarPrograma("\"" + programa + "\" 418207,P:\\Tavoran.win\\TAVORAN.EXE",
                                     EstiloJanela::NormalComFoco, id)
                   .Ocorreu());
  EXPECT_NE(id, 0u);
  ASSERT_TRUE(testes::EsperarArquivo(registro, 20000));
  Sleep(200);
  std::string conteudo(4096, '\0');
  HANDLE h = CreateFileA(registro.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  DWORD lidos = 0;
  ReadFile(h, conteudo.data(), 4096, &lidos, nullptr);
  CloseHandle(h);
  EXPECT_EQ(conteudo.substr(0, lidos), "KemCriaArq.exe|\"" + programa + "\" 418207,P:\\Tavoran.win\\TAVORAN.EXE\r\n");
  SetEnvironmentVariableA("TAV_REGISTRO_COMANDOS", nullptr);

  EXPECT_EQ(shell.IniciarPrograma(pasta / "NaoExiste.exe", EstiloJanela::Oculta, id).numero, 53);
  EXPECT_EQ(shell.AbrirDocumento(0, pasta / "NaoExiste.html").numero, 53);
}

}  // namespace
}  // namespace tavoran::win32
