#include "platform/win32/UnidadesWin32.h"

#include <windows.h>
#include <winnetwk.h>

#include "platform/ErrosWindows.h"
#include "platform/Texto.h"

namespace tavoran::win32 {

Falha UnidadesWin32::Mapear(const std::string& remoto, const std::string& local) {
  return FalhaDeErroWindows(WNetAddConnectionA(ParaCp1252(remoto).c_str(), nullptr, ParaCp1252(local).c_str()));
}

}  // namespace tavoran::win32
