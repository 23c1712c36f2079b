#include "platform/win32/SistemaWin32.h"

#include <windows.h>

#include "platform/Texto.h"
#include "platform/win32/BibliotecaDinamica.h"
#include "platform/win32/Recursos.h"

namespace tavoran::win32 {
namespace {

using FuncaoRtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOEXW*);

std::string TextoRegistro64(const char* chave, const char* valor) {
  ChaveAberta h;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, chave, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, h.Receber()) != ERROR_SUCCESS)
    return {};
  char buffer[256] = {};
  DWORD tamanho = sizeof buffer - 1, tipo = 0;
  const LONG r = RegQueryValueExA(h.get(), valor, nullptr, &tipo, reinterpret_cast<BYTE*>(buffer), &tamanho);
  if (r != ERROR_SUCCESS || tipo != REG_SZ) return {};
  return DeCp1252(AteNulo(std::string(buffer, tamanho)));
}

std::string NomeDoModulo() {
  char caminho[MAX_PATH] = {};
  const DWORD n = GetModuleFileNameA(nullptr, caminho, MAX_PATH);
  return std::string(caminho, n);
}

}  // namespace

bool SistemaWin32::NomeComputador(std::string& buffer) {
  if (!nomeComputador_) {
    std::string ansi(256, ' ');
    DWORD tamanho = 256;
    const bool ok = GetComputerNameA(ansi.data(), &tamanho) != FALSE;
    nomeComputador_.emplace(ok, DeCp1252(ansi));
  }
  buffer = nomeComputador_->second;
  return nomeComputador_->first;
}

bool SistemaWin32::NomeUsuario(std::string& buffer, std::uint32_t& tamanho) {
  std::string ansi(200, '\0');
  DWORD n = 200;
  const bool ok = GetUserNameA(ansi.data(), &n) != FALSE;
  // The size counts the UTF-8 bytes of the name plus its NUL, as the ANSI size did.
  const std::string nome = ok && n > 0 ? DeCp1252(ansi.substr(0, n - 1)) : std::string();
  buffer = nome + '\0' + std::string(ansi.size() > n ? ansi.size() - n : 0, '\0');
  tamanho = ok && n > 0 ? static_cast<std::uint32_t>(nome.size() + 1) : 0;
  return ok;
}

std::string SistemaWin32::LoginWindows() {
  BibliotecaDinamica wtsClient("WTSClient.dll");
  const auto funcao = wtsClient.Funcao<FuncaoGetLoginWindows>("GetLoginWindows");
  if (funcao == nullptr) return {};
  char login[256] = {};
  if (funcao(login, sizeof login - 1) == 0) return {};
  return DeCp1252(AteNulo(std::string(login, sizeof login)));
}

// Caption and Version as the operating-system class of WMI gives them, read directly:
// "Microsoft " + the product name, and major.minor.build of the real version.
bool SistemaWin32::SistemaOperacional(std::string& nome, std::string& versao) {
  BibliotecaDinamica ntdll("ntdll.dll");
  const auto rtlGetVersion = ntdll.Funcao<FuncaoRtlGetVersion>("RtlGetVersion");
  OSVERSIONINFOEXW info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (rtlGetVersion == nullptr || rtlGetVersion(&info) != 0) return false;
  std::string produto = TextoRegistro64("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "ProductName");
  if (produto.empty()) return false;
  // Windows 11 still registers its product name as "Windows 10 ...".
  if (info.dwBuildNumber >= 22000) produto = Substituir(produto, "Windows 10", "Windows 11");
  nome = Aparar(produto.rfind("Microsoft", 0) == 0 ? produto : "Microsoft " + produto);
  versao = std::to_string(info.dwMajorVersion) + "." + std::to_string(info.dwMinorVersion) + "." +
           std::to_string(info.dwBuildNumber);
  return true;
}

std::string SistemaWin32::ArgumentosDe(const std::string& linha) {
  std::size_t i = 0;
  if (!linha.empty() && linha[0] == '"') {
    const auto fecha = linha.find('"', 1);
    i = fecha == std::string::npos ? linha.size() : fecha + 1;
  }
  while (i < linha.size() && linha[i] != ' ' && linha[i] != '\t') ++i;
  if (i < linha.size()) ++i;  // the separator
  return linha.substr(i);
}

std::string SistemaWin32::LinhaComando() { return DeCp1252(ArgumentosDe(GetCommandLineA())); }

std::string SistemaWin32::PastaPrograma() {
  const std::string caminho = NomeDoModulo();
  const auto barra = caminho.rfind('\\');
  return DeCp1252(barra == std::string::npos ? caminho : caminho.substr(0, barra));
}

// The mutex is named after the program file, so another program built on this layer
// (a test, say) does not count as a copy of this one.
bool SistemaWin32::OutraInstanciaNaSessao() {
  if (instanciaTestada_) return outraInstancia_;
  std::string arquivo = NomeDoModulo();
  arquivo = arquivo.substr(arquivo.rfind('\\') + 1);
  const std::string nome = "Local\\Tavoran.InstanciaAnterior." + Maiusculas(DeCp1252(arquivo));
  mutexInstancia_ = Handle(CreateMutexA(nullptr, FALSE, ParaCp1252(nome).c_str()));
  outraInstancia_ = mutexInstancia_.Valido() && GetLastError() == ERROR_ALREADY_EXISTS;
  instanciaTestada_ = true;
  return outraInstancia_;
}

}  // namespace tavoran::win32
