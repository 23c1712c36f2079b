// Stand-in for WTSClient.dll: GetLoginWindows writes a fixed login name.
#include <windows.h>

#include <cstring>

extern "C" __declspec(dllexport) int __stdcall GetLoginWindows(char* v_sLogin, int v_lTamanho) {
  const char nome[] = "usu\xE1rio.remoto";  // "usuário.remoto" in Windows-1252
  if (v_sLogin == nullptr || v_lTamanho < static_cast<int>(sizeof nome)) return 0;
  std::memcpy(v_sLogin, nome, sizeof nome);
  return 1;
}
