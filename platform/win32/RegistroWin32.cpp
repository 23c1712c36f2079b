#include "platform/win32/RegistroWin32.h"

#include <windows.h>

#include "platform/ErrosWindows.h"
#include "platform/Texto.h"

namespace tavoran::win32 {
namespace {

bool TipoTexto(DWORD tipo) { return tipo == REG_SZ || tipo == REG_EXPAND_SZ || tipo == REG_MULTI_SZ; }

Falha Resultado(LONG r) { return FalhaDeErroWindows(static_cast<std::uint32_t>(r)); }

class ChaveWin32 : public IChaveRegistro {
 public:
  explicit ChaveWin32(HKEY chave) : chave_(chave) {}
  ~ChaveWin32() override { Fechar(); }

  Falha Consultar(const std::string& nome, std::uint32_t& tipo, std::string& dados) override {
    if (chave_ == nullptr) return Resultado(ERROR_INVALID_HANDLE);
    const std::string nomeAnsi = ParaCp1252(nome);
    // The size can grow between the two calls; ask again while it does.
    for (;;) {
      DWORD t = 0, tamanho = 0;
      LONG r = RegQueryValueExA(chave_, nomeAnsi.c_str(), nullptr, &t, nullptr, &tamanho);
      if (r != ERROR_SUCCESS) return Resultado(r);
      std::string bruto(tamanho, '\0');
      r = RegQueryValueExA(chave_, nomeAnsi.c_str(), nullptr, &t, reinterpret_cast<BYTE*>(bruto.data()), &tamanho);
      if (r == ERROR_MORE_DATA) continue;
      if (r != ERROR_SUCCESS) return Resultado(r);
      bruto.resize(tamanho);
      tipo = t;
      dados = TipoTexto(t) ? DeCp1252(bruto) : bruto;
      return {};
    }
  }

  Falha Gravar(const std::string& nome, std::uint32_t tipo, const std::string& dados) override {
    if (chave_ == nullptr) return Resultado(ERROR_INVALID_HANDLE);
    const std::string bytes = TipoTexto(tipo) ? ParaCp1252(dados) : dados;
    return Resultado(RegSetValueExA(chave_, ParaCp1252(nome).c_str(), 0, tipo,
                                    reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size())));
  }

  Falha Fechar() override {
    if (chave_ == nullptr) return Resultado(ERROR_INVALID_HANDLE);
    const LONG r = RegCloseKey(chave_);
    chave_ = nullptr;
    return Resultado(r);
  }

 private:
  HKEY chave_;
};

HKEY Raiz(RaizRegistro raiz) { return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<std::uint32_t>(raiz))); }

}  // namespace

// Always the 32-bit view, as the 32-bit product sees it, whatever the bitness of the build.
constexpr REGSAM kAcesso = MAXIMUM_ALLOWED | KEY_WOW64_32KEY;

Falha RegistroWin32::Abrir(RaizRegistro raiz, const std::string& caminho, std::unique_ptr<IChaveRegistro>& chave) {
  HKEY h = nullptr;
  const LONG r = RegOpenKeyExA(Raiz(raiz), ParaCp1252(caminho).c_str(), 0, kAcesso, &h);
  if (r == ERROR_SUCCESS) chave = std::make_unique<ChaveWin32>(h);
  return Resultado(r);
}

Falha RegistroWin32::Criar(RaizRegistro raiz, const std::string& caminho, std::unique_ptr<IChaveRegistro>& chave) {
  HKEY h = nullptr;
  const LONG r = RegCreateKeyExA(Raiz(raiz), ParaCp1252(caminho).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, kAcesso,
                                 nullptr, &h, nullptr);
  if (r == ERROR_SUCCESS) chave = std::make_unique<ChaveWin32>(h);
  return Resultado(r);
}

}  // namespace tavoran::win32
