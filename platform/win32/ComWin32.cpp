#include "platform/win32/ComWin32.h"

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

#include "platform/ErrosWindows.h"
#include "platform/win32/Recursos.h"

namespace tavoran::win32 {
namespace {

std::string TextoGuid(const GUID& guid) {
  wchar_t texto[64] = {};
  const int n = StringFromGUID2(guid, texto, 64);
  return n > 0 ? Utf8(texto) : std::string();
}

// The type library's attributes, released with it.
class AtributosTypeLib {
 public:
  explicit AtributosTypeLib(ITypeLib* lib) : lib_(lib) {}
  AtributosTypeLib(const AtributosTypeLib&) = delete;
  AtributosTypeLib& operator=(const AtributosTypeLib&) = delete;
  ~AtributosTypeLib() {
    if (atributos_) lib_->ReleaseTLibAttr(atributos_);
  }
  HRESULT Ler() { return lib_->GetLibAttr(&atributos_); }
  const TLIBATTR* operator->() const { return atributos_; }

 private:
  ITypeLib* lib_;
  TLIBATTR* atributos_ = nullptr;
};

// The registration of exactly this version and locale for this program's platform, read
// from its one key: the common case costs one key instead of the system's walk over versions.
bool RegistradaExata(const IdTypeLib& id) {
#ifdef _WIN64
  constexpr const char* kPlataforma = "win64";
#else
  constexpr const char* kPlataforma = "win32";
#endif
  char chave[160];
  std::snprintf(chave, sizeof chave, "Typelib\\%s\\%x.%x\\%lx\\%s", id.guid.c_str(), unsigned{id.versaoMaior},
                unsigned{id.versaoMenor}, static_cast<unsigned long>(id.lcid), kPlataforma);
  ChaveAberta h;
  return RegOpenKeyExA(HKEY_CLASSES_ROOT, chave, 0, KEY_QUERY_VALUE, h.Receber()) == ERROR_SUCCESS &&
         RegQueryValueExA(h.get(), nullptr, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

}  // namespace

Falha ComWin32::CarregarOleAut32() {
  if (!oleaut32_.CarregarSeAusente("oleaut32.dll")) return FalhaDeErroWindows(GetLastError());
  return {};
}

Falha ComWin32::LerTypeLib(const std::string& arquivo, IdTypeLib& id) {
  id = {};
  // The common binary format is read from the file's bytes, as the system would find it;
  // any other file goes through the system's loader, which also gives the failures.
  if (const std::optional<TypeLibPe> lida = imagens_->Ficha(arquivo)->typeLib) {
    GUID guid;
    std::memcpy(&guid, lida->guid.data(), sizeof guid);
    id.guid = TextoGuid(guid);
    id.versaoMaior = lida->versaoMaior;
    id.versaoMenor = lida->versaoMenor;
    id.lcid = lida->lcid;
    return {};
  }
  if (Falha f = CarregarOleAut32(); f.Ocorreu()) return f;
  const auto carregar = oleaut32_.Funcao<decltype(&::LoadTypeLibEx)>("LoadTypeLibEx");
  if (!carregar) return FalhaDeErroWindows(ERROR_PROC_NOT_FOUND);
  Com<ITypeLib> lib;
  HRESULT r = carregar(Utf16(arquivo).c_str(), REGKIND_NONE, lib.Receber());
  if (FAILED(r)) return FalhaDeErroWindows(static_cast<std::uint32_t>(r));
  AtributosTypeLib atributos(lib.get());
  r = atributos.Ler();
  if (FAILED(r)) return FalhaDeErroWindows(static_cast<std::uint32_t>(r));
  id.guid = TextoGuid(atributos->guid);
  id.versaoMaior = atributos->wMajorVerNum;
  id.versaoMenor = atributos->wMinorVerNum;
  id.lcid = atributos->lcid;
  return {};
}

Falha ComWin32::TypeLibRegistrada(const IdTypeLib& id, bool& registrada) {
  registrada = false;
  if (RegistradaExata(id)) {
    registrada = true;
    return {};
  }
  GUID guid{};
  const HRESULT r = CLSIDFromString(Utf16(id.guid).c_str(), &guid);
  if (FAILED(r)) return FalhaDeErroWindows(static_cast<std::uint32_t>(r));
  if (Falha f = CarregarOleAut32(); f.Ocorreu()) return f;
  const auto consultar = oleaut32_.Funcao<decltype(&::QueryPathOfRegTypeLib)>("QueryPathOfRegTypeLib");
  const auto liberar = oleaut32_.Funcao<decltype(&::SysFreeString)>("SysFreeString");
  if (!consultar || !liberar) return FalhaDeErroWindows(ERROR_PROC_NOT_FOUND);
  BSTR caminho = nullptr;
  registrada = SUCCEEDED(consultar(guid, id.versaoMaior, id.versaoMenor, id.lcid, &caminho));
  const std::unique_ptr<OLECHAR, decltype(liberar)> liberado(caminho, liberar);
  return {};
}

Falha ComWin32::CriarObjeto(const std::string& progId) {
  CLSID clsid{};
  HRESULT r = CLSIDFromProgID(Utf16(progId).c_str(), &clsid);
  if (FAILED(r)) return FalhaDeErroWindows(static_cast<std::uint32_t>(r));
  Com<IUnknown> objeto;
  r = CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IUnknown, objeto.ReceberVoid());
  if (FAILED(r)) return FalhaDeErroWindows(static_cast<std::uint32_t>(r));
  return {};
}

}  // namespace tavoran::win32
