#include "tests/e2e/EstacaoTeste.h"

#include <oleauto.h>
#include <tlhelp32.h>

#include <algorithm>
#include <regex>

#include "platform/Texto.h"
#include "tests/helpers/ApoioTeste.h"

namespace tavoran::testes {
namespace {

constexpr const char* kVariavelRegistro = "TAV_REGISTRO_COMANDOS";

void GravarTexto(HKEY raiz, const std::string& chave, const char* valor, const std::string& texto, REGSAM visao) {
  HKEY h;
  if (RegCreateKeyExA(raiz, chave.c_str(), 0, nullptr, 0, KEY_WRITE | visao, nullptr, &h, nullptr) != ERROR_SUCCESS)
    return;
  const std::string ansi = ParaCp1252(texto);
  RegSetValueExA(h, valor, 0, REG_SZ, reinterpret_cast<const BYTE*>(ansi.c_str()), static_cast<DWORD>(ansi.size() + 1));
  RegCloseKey(h);
}

// The stand-in browser opens http, https and .html documents, in both registry views and
// for the user, so that whichever the shell reads leads to it.
void RegistrarNavegador(const std::string& navegador) {
  const std::string comando = "\"" + navegador + "\" \"%1\"";
  for (REGSAM visao : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
    for (const char* classe : {"http", "https", "htmlfile"}) {
      GravarTexto(HKEY_LOCAL_MACHINE, std::string("Software\\Classes\\") + classe + "\\shell\\open\\command", nullptr,
                  comando, visao);
      GravarTexto(HKEY_CURRENT_USER, std::string("Software\\Classes\\") + classe + "\\shell\\open\\command", nullptr,
                  comando, visao);
    }
    GravarTexto(HKEY_LOCAL_MACHINE, "Software\\Classes\\http", "URL Protocol", "", visao);
    GravarTexto(HKEY_LOCAL_MACHINE, "Software\\Classes\\https", "URL Protocol", "", visao);
    for (const char* extensao : {".html", ".htm"}) {
      GravarTexto(HKEY_LOCAL_MACHINE, std::string("Software\\Classes\\") + extensao, nullptr, "htmlfile", visao);
      GravarTexto(HKEY_CURRENT_USER, std::string("Software\\Classes\\") + extensao, nullptr, "htmlfile", visao);
    }
  }
}

}  // namespace

// ---- one run -----------------------------------------------------------------------------
ExecucaoTavoran::ExecucaoTavoran(const std::string& programa, const std::string& argumentos) {
  std::string linha = "\"" + programa + "\"" + (argumentos.empty() ? "" : " " + argumentos);
  const std::string pasta = programa.substr(0, programa.rfind('\\'));
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, linha.data(), nullptr, nullptr, FALSE, 0, nullptr, pasta.c_str(), &si, &pi)) return;
  CloseHandle(pi.hThread);
  processo_ = pi.hProcess;
  id_ = pi.dwProcessId;
}

ExecucaoTavoran::~ExecucaoTavoran() {
  if (processo_ == nullptr) return;
  if (WaitForSingleObject(processo_, 0) == WAIT_TIMEOUT) {
    TerminateProcess(processo_, 99);
    WaitForSingleObject(processo_, 10000);
  }
  CloseHandle(processo_);
}

void ExecucaoTavoran::Observar() {
  if (JanelaVisivelDoProcesso(id_, "frmInicial") != nullptr) janelaVista_ = true;
}

std::optional<CaixaNaTela> ExecucaoTavoran::EsperarCaixa(DWORD limiteMs) {
  const ULONGLONG fim = GetTickCount64() + limiteMs;
  while (GetTickCount64() < fim) {
    Observar();
    auto caixas = CaixasDoProcesso(id_);
    if (!caixas.empty() && !caixas.front().botoes.empty()) {
      caixasVistas.push_back(caixas.front());
      return caixas.front();
    }
    if (WaitForSingleObject(processo_, 20) == WAIT_OBJECT_0) return std::nullopt;
  }
  return std::nullopt;
}

void ExecucaoTavoran::Responder(const CaixaNaTela& caixa, int botao) {
  if (!PressionarBotaoId(caixa, botao) && !caixa.botoes.empty()) PressionarBotao(caixa, caixa.botoes.front());
  for (int i = 0; i < 500 && IsWindow(caixa.janela); ++i) Sleep(20);
}

bool ExecucaoTavoran::EsperarFim(DWORD limiteMs) {
  const ULONGLONG fim = GetTickCount64() + limiteMs;
  while (GetTickCount64() < fim) {
    if (WaitForSingleObject(processo_, 0) == WAIT_OBJECT_0) return Terminou();
    auto caixa = EsperarCaixa(200);
    if (caixa) Responder(*caixa);
  }
  return WaitForSingleObject(processo_, 0) == WAIT_OBJECT_0 && Terminou();
}

// The program may end before the stand-ins it started have run: they record themselves and
// end at once, so the run is over when none of them is left (10 s at most).
bool ExecucaoTavoran::Terminou() {
  auto algumRestante = [this] {
    HANDLE foto = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (foto == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32 p{};
    p.dwSize = sizeof p;
    bool restante = false;
    for (BOOL ok = Process32First(foto, &p); ok && !restante; ok = Process32Next(foto, &p))
      restante = p.th32ParentProcessID == id_ &&
                 (lstrcmpiA(p.szExeFile, "KemCriaArq.exe") == 0 || lstrcmpiA(p.szExeFile, "NavegadorFalso.exe") == 0);
    CloseHandle(foto);
    return restante;
  };
  for (int i = 0; i < 500 && algumRestante(); ++i) Sleep(20);
  return true;
}

DWORD ExecucaoTavoran::CodigoSaida() const {
  DWORD codigo = STILL_ACTIVE;
  GetExitCodeProcess(processo_, &codigo);
  return codigo;
}

// ---- the workstation ---------------------------------------------------------------------
std::string EstacaoTeste::ProgramaTavoran() { return PastaDoTeste() + "\\..\\programa\\TAVORAN.EXE"; }

void EstacaoTeste::Preparar() {
  PastaTemporaria::Remover(kDirT);
  DeleteFileA((std::string(kRaiz) + "\\comandos.txt").c_str());
  CreateDirectoryA(kDirT, nullptr);
  CopyFileA(ProgramaTavoran().c_str(), (DirT() + "\\TAVORAN.EXE").c_str(), FALSE);
  CopyFileA((PastaDoTeste() + "\\helpers\\KemCriaArq.exe").c_str(), (DirT() + "\\KemCriaArq.exe").c_str(), FALSE);
  // The engine's interface library, found beside the program as an installed engine would be.
  CopyFileA((PastaDoTeste() + "\\wbtrv32.dll").c_str(), (DirT() + "\\wbtrv32.dll").c_str(), FALSE);
  PrepararRegistro();
  // The default-data file with the help links, one address per key.
  CreateDirectoryA((DirT() + "\\TvGeral").c_str(), nullptr);
  CreateDirectoryA((DirT() + "\\TvGeral\\Arquivos").c_str(), nullptr);
  std::string xml = "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n<DadosPadrao>\r\n";
  for (int c = 1; c <= 26; ++c)
    xml += "  <Item id=\"C" + std::to_string(c) + "\" value=\"https://ajuda.tavoran.com.br/artigos/C" +
           std::to_string(c) + "\"/>\r\n";
  GravarArquivo(DirT() + "\\TvGeral\\Arquivos\\Dados_Padrao_Tavoran.config", xml + "</DadosPadrao>\r\n");
  InstalarVersoes();
  PrepararComponentes();
}

std::string EstacaoTeste::PastaSistema() { return "C:\\windows\\syswow64"; }
std::string EstacaoTeste::PastaFramework() { return "C:\\windows\\Microsoft.Net\\Framework\\v4.0.30319"; }
std::string EstacaoTeste::ComponenteCom(const std::string& nome) {
  return PastaAjudantes() + "\\com\\" + nome + ".dll";
}

// The libraries the window and the suite need are on the workstation (their presence is all
// the start checks); the type-library browser is in the share and installed and registered
// here; RegAsm is a stand-in that records its command line.
void EstacaoTeste::PrepararComponentes() {
  const std::string sistema = PastaSistema();
  for (const char* nome : {"mscomct2.ocx", "mscomctl.ocx", "scrrun.dll", "TavUsu20.dll", "Tavusu602.dll",
                           "TavUtil20.dll", "TavBtr602.dll", "TavBtr20.dll", "TavDoctorG.dll", "TavErro.dll",
                           "TavSQL20.dll"})
    if (!Existe(sistema + "\\" + nome))
      CopyFileA((PastaAjudantes() + "\\ComponenteV2_10.dll").c_str(), (sistema + "\\" + nome).c_str(), TRUE);
  for (const char* pasta : {"\\KORA", "\\KORA\\COMPONENTES", "\\KORA\\WINDOWSLIBRARY"})
    CreateDirectoryA((DirT() + pasta).c_str(), nullptr);
  const std::string tlbinf = ComponenteCom("ComTlb");
  CopyFileA(tlbinf.c_str(), (DirT() + "\\KORA\\COMPONENTES\\TLBINF32.DLL").c_str(), FALSE);
  CopyFileA(tlbinf.c_str(), (sistema + "\\TLBINF32.DLL").c_str(), FALSE);
  Registrar(sistema + "\\TLBINF32.DLL");
  const std::string framework = PastaFramework();
  for (std::size_t p = framework.find('\\', 3); p != std::string::npos; p = framework.find('\\', p + 1))
    CreateDirectoryA(framework.substr(0, p).c_str(), nullptr);
  CreateDirectoryA(framework.c_str(), nullptr);
  CopyFileA((PastaAjudantes() + "\\RegAsm.exe").c_str(), (framework + "\\RegAsm.exe").c_str(), FALSE);
}

bool EstacaoTeste::Registrar(const std::string& arquivo, bool registrar) {
  HMODULE m = LoadLibraryA(arquivo.c_str());
  if (m == nullptr) return false;
  using Entrada = HRESULT(__stdcall*)();
  const auto entrada = reinterpret_cast<Entrada>(
      reinterpret_cast<void (*)()>(GetProcAddress(m, registrar ? "DllRegisterServer" : "DllUnregisterServer")));
  const bool ok = entrada != nullptr && SUCCEEDED(entrada());
  FreeLibrary(m);
  return ok;
}

void EstacaoTeste::EsquecerTypeLib(const std::string& guid) {
  for (REGSAM visao : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
    HKEY h = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, "TypeLib", 0, KEY_ALL_ACCESS | visao, &h) != ERROR_SUCCESS) continue;
    RegDeleteTreeA(h, guid.c_str());
    RegCloseKey(h);
  }
}

bool EstacaoTeste::TypeLibRegistrada(const std::string& guid) {
  GUID g{};
  if (FAILED(CLSIDFromString(Largo(guid).c_str(), &g))) return false;
  BSTR caminho = nullptr;
  const bool registrada = SUCCEEDED(QueryPathOfRegTypeLib(g, 1, 0, 0, &caminho));
  SysFreeString(caminho);
  return registrada;
}

std::string EstacaoTeste::ServidorDaClasse(const std::string& guid) {
  char valor[MAX_PATH] = {};
  LONG tamanho = sizeof valor;
  if (RegQueryValueA(HKEY_CLASSES_ROOT, ("CLSID\\" + guid + "\\InprocServer32").c_str(), valor, &tamanho) !=
      ERROR_SUCCESS)
    return {};
  return valor;
}

void EstacaoTeste::PrepararRegistro() {
  GravarTexto(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tavoran\\DIR_T", nullptr, kDirT, KEY_WOW64_32KEY);
  GravarTexto(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tavoran\\DIR_T", "UNC", "\\\\servidor\\tavoran\\Tavoran.win",
              KEY_WOW64_32KEY);
  RegistrarNavegador(PastaDoTeste() + "\\helpers\\NavegadorFalso.exe");
  SetEnvironmentVariableA(kVariavelRegistro, (std::string(kRaiz) + "\\comandos.txt").c_str());
}

void EstacaoTeste::UsarUnidadeDeRede() {
  GravarTexto(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tavoran\\DIR_T", nullptr, kDirTRede, KEY_WOW64_32KEY);
}

std::vector<std::string> EstacaoTeste::LinhasDoRelatorio() const {
  const std::string pasta = DirT() + "\\Logs\\RYX";
  std::vector<std::string> linhas;
  static const std::regex linha(
      "<td class='td(OK|Erro)' style='text-align:center'>(?:OK|ERRO)</td>\r\n[^\n]*\n"
      "   <td class='td(?:OK|Erro)' style='text-align:left'>([^<]*)</td>\r\n"
      "   <td class='td(?:OK|Erro)' style='text-align:[a-z]*'>([^<]*)</td>");
  for (const std::string& nome : Arquivos(pasta)) {
    const std::string html = DeCp1252(LerArquivo(pasta + "\\" + nome));
    for (std::sregex_iterator i(html.begin(), html.end(), linha), fim; i != fim; ++i)
      linhas.push_back((*i)[1] == "OK" ? "OK " + (*i)[2].str() : "ERRO " + (*i)[2].str() + " | " + (*i)[3].str());
    DeleteFileA((pasta + "\\" + nome).c_str());
  }
  std::sort(linhas.begin(), linhas.end());
  return linhas;
}

std::string EstacaoTeste::RelatorioDeInconsistencias() const {
  const std::string pasta = DirT() + "\\Logs\\RYX\\Erros";
  const auto relatorios = Arquivos(pasta);
  return relatorios.size() == 1 ? DeCp1252(LerArquivo(pasta + "\\" + relatorios[0])) : std::string();
}

int EstacaoTeste::Tavadmin(const std::string& argumentos, std::string* saida) const {
  // Through the command interpreter, whose redirection gives the tool a plain file as output.
  const std::string arquivoSaida = std::string(kRaiz) + "\\tavadmin.txt";
  std::string linha = "cmd.exe /c \"\"";
  linha.append(PastaDoTeste()).append("\\..\\tools\\tavadmin.exe\" ").append(argumentos);
  linha.append(" > ").append(arquivoSaida).append(" 2>&1\"");
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  DWORD codigo = 255;
  if (CreateProcessA(nullptr, linha.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi)) {
    WaitForSingleObject(pi.hProcess, 60000);
    GetExitCodeProcess(pi.hProcess, &codigo);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  if (saida != nullptr) {
    HANDLE h = CreateFileA(arquivoSaida.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    std::vector<char> texto(65536);
    DWORD lidos = 0;
    ReadFile(h, texto.data(), static_cast<DWORD>(texto.size()), &lidos, nullptr);
    CloseHandle(h);
    saida->assign(texto.data(), lidos);
  }
  return static_cast<int>(codigo);
}

void EstacaoTeste::InstalarVersoes(const std::string& tavoran2, const std::string& kemGravaArquivo) {
  CreateDirectoryA((DirT() + "\\KEM").c_str(), nullptr);
  CopyFileA(ProgramaTavoran().c_str(), (DirT() + "\\TAVORAN2.EXE").c_str(), FALSE);
  CopyFileA(ProgramaTavoran().c_str(), (DirT() + "\\KEM\\KEMGRAVAARQUIVOWSE.EXE").c_str(), FALSE);
  std::string manifesto =
      "VersaoSistema;CaminhoProgramaArquivo;NomeProgramaArquivo;VersaoPrograma;hash;RegDataCriacao;"
      "RegDataUltAlteracao;Observacao;Funcionando;Beta;VersaoOrdenacao;Boletim\r\n";
  const std::pair<const char*, std::string> programas[] = {
      {"TAVORAN.EXE", "1.0.0.0"}, {"TAVORAN2.EXE", tavoran2}, {"KEMCRIAARQ.EXE", ""},
      {"KEMGRAVAARQUIVOWSE.EXE", kemGravaArquivo}};
  for (const auto& [nome, versao] : programas)
    manifesto.append("5.0;;").append(nome).append(";").append(versao).append(";;20261201;20261201;;1;0;0005.0000;\r\n");
  GravarArquivo(std::string(kRaiz) + "\\manifesto.csv", manifesto);
  Tavadmin(std::string("importar ") + kDirT + " " + kRaiz + "\\manifesto.csv");
}

std::string EstacaoTeste::Comandos() const {
  return DeCp1252(LerArquivo(std::string(kRaiz) + "\\comandos.txt"));
}

std::string EstacaoTeste::NomeComputador() const {
  char nome[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD n = sizeof nome;
  GetComputerNameA(nome, &n);
  return DeCp1252(nome);
}

std::vector<std::string> EstacaoTeste::Arquivos(const std::string& pasta) const {
  std::vector<std::string> nomes;
  WIN32_FIND_DATAA d;
  HANDLE h = FindFirstFileA(ParaCp1252(pasta + "\\*").c_str(), &d);
  if (h == INVALID_HANDLE_VALUE) return nomes;
  do {
    if (!(d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) nomes.push_back(DeCp1252(d.cFileName));
  } while (FindNextFileA(h, &d));
  FindClose(h);
  return nomes;
}

EstacaoTeste::ArquivoPreso::ArquivoPreso(const std::string& caminho, DWORD compartilhamento)
    : h_(CreateFileA(ParaCp1252(caminho).c_str(), GENERIC_READ | (compartilhamento ? 0 : GENERIC_WRITE),
                     compartilhamento, nullptr, compartilhamento ? OPEN_EXISTING : OPEN_ALWAYS, 0, nullptr)) {}

EstacaoTeste::ArquivoPreso::~ArquivoPreso() {
  if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
}

EstacaoTeste::JanelaDeOutroPrograma::JanelaDeOutroPrograma(const std::string& titulo) {
  WNDCLASSA c{};
  c.lpfnWndProc = DefWindowProcA;
  c.hInstance = GetModuleHandleA(nullptr);
  c.lpszClassName = "OutroPrograma";
  RegisterClassA(&c);
  h_ = CreateWindowExA(0, c.lpszClassName, ParaCp1252(titulo).c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 200, 80, nullptr,
                       nullptr, c.hInstance, nullptr);
}

EstacaoTeste::JanelaDeOutroPrograma::~JanelaDeOutroPrograma() { DestroyWindow(h_); }

}  // namespace tavoran::testes
