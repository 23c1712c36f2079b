#include "platform/win32/ShellWin32.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/ErrosWindows.h"
#include "platform/Texto.h"
#include "platform/win32/Recursos.h"

namespace tavoran::win32 {

std::intptr_t ShellWin32::AbrirDocumento(IdJanela dono, const std::string& documento) {
  const HINSTANCE r = ShellExecuteA(reinterpret_cast<HWND>(dono), "open", ParaCp1252(documento).c_str(), "", "",
                                    SW_SHOWNORMAL);
  return reinterpret_cast<std::intptr_t>(r);
}

// Like the Shell function: the program starts with the given window state and runs on
// its own; only its process id is kept.
Falha ShellWin32::IniciarPrograma(const std::string& linhaComando, EstiloJanela estilo, std::uint32_t& idProcesso) {
  idProcesso = 0;
  std::string linha = ParaCp1252(linhaComando);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = static_cast<WORD>(estilo);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, linha.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return FalhaDeErroWindows(GetLastError());
  Handle processo(pi.hProcess), linhaExecucao(pi.hThread);
  idProcesso = pi.dwProcessId;
  return {};
}

}  // namespace tavoran::win32
