#include "platform/win32/RelogioWin32.h"

#include <windows.h>

namespace tavoran::win32 {

DataHora RelogioWin32::Agora() {
  SYSTEMTIME st{};
  GetLocalTime(&st);
  return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

long long RelogioWin32::Milissegundos() { return static_cast<long long>(GetTickCount64()); }

void RelogioWin32::Dormir(unsigned milissegundos) { Sleep(milissegundos); }

}  // namespace tavoran::win32
