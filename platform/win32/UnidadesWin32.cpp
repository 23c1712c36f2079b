#include "platform/win32/UnidadesWin32.h"

#include <windows.h>
#include <winnetwk.h>

#include "platform/ErrosWindows.h"
#include "platform/Texto.h"

namespace tavoran::win32 {

Falha UnidadesWin32::Mapear(const std::string& remoto, const std::string& local) {
  if (!mpr_.CarregarSeAusente("mpr.dll")) return FalhaDeErroWindows(GetLastError());
  const auto conectar = mpr_.Funcao<decltype(&::WNetAddConnectionA)>("WNetAddConnectionA");
  if (!conectar) return FalhaDeErroWindows(GetLastError());
  return FalhaDeErroWindows(conectar(ParaCp1252(remoto).c_str(), nullptr, ParaCp1252(local).c_str()));
}

}  // namespace tavoran::win32
