// A COM library of the test share. Its type library is among its resources. Registering it
// registers that type library and the class key HKCR\CLSID\<guid>\InprocServer32 naming this
// file; unregistering removes both. Built also as a library whose registration never returns
// (COMPONENTE_TRAVA) and one whose registration faults (COMPONENTE_FALHA).
#include <windows.h>
#include <oleauto.h>

#include <string>

namespace {

HMODULE modulo = nullptr;

std::wstring Caminho() {
  wchar_t caminho[MAX_PATH] = {};
  GetModuleFileNameW(modulo, caminho, MAX_PATH);
  return caminho;
}

std::wstring ChaveClasse() {
  const std::string guid = TAV_GUID_TEXTO;
  return L"CLSID\\" + std::wstring(guid.begin(), guid.end());
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE h, DWORD motivo, LPVOID) {
  if (motivo == DLL_PROCESS_ATTACH) modulo = h;
  return TRUE;
}

extern "C" __declspec(dllexport) HRESULT __stdcall DllRegisterServer() {
#if defined(COMPONENTE_TRAVA)
  for (;;) Sleep(1000);
#elif defined(COMPONENTE_FALHA)
  *static_cast<volatile int*>(nullptr) = 1;
#endif
  ITypeLib* lib = nullptr;
  const HRESULT r = LoadTypeLibEx(Caminho().c_str(), REGKIND_REGISTER, &lib);
  if (FAILED(r)) return r;
  lib->Release();
  HKEY h = nullptr;
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, (ChaveClasse() + L"\\InprocServer32").c_str(), 0, nullptr, 0, KEY_WRITE,
                      nullptr, &h, nullptr) != ERROR_SUCCESS)
    return E_FAIL;
  const std::wstring caminho = Caminho();
  RegSetValueExW(h, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(caminho.c_str()),
                 static_cast<DWORD>((caminho.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(h);
  return S_OK;
}

extern "C" __declspec(dllexport) HRESULT __stdcall DllUnregisterServer() {
  ITypeLib* lib = nullptr;
  if (SUCCEEDED(LoadTypeLibEx(Caminho().c_str(), REGKIND_NONE, &lib))) {
    TLIBATTR* atributos = nullptr;
    if (SUCCEEDED(lib->GetLibAttr(&atributos))) {
      UnRegisterTypeLib(atributos->guid, atributos->wMajorVerNum, atributos->wMinorVerNum, atributos->lcid,
                        atributos->syskind);
      lib->ReleaseTLibAttr(atributos);
    }
    lib->Release();
  }
  RegDeleteTreeW(HKEY_CLASSES_ROOT, ChaveClasse().c_str());
  return S_OK;
}
