#include "platform/win32/ShellWin32.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/ErrosWindows.h"
#include "platform/Texto.h"
#include "platform/win32/Recursos.h"

namespace tavoran::win32 {
namespace {

class ProcessoIniciadoWin32 : public IProcessoIniciado {
 public:
  ProcessoIniciadoWin32(Handle processo, std::uint32_t id) : processo_(std::move(processo)), id_(id) {}
  std::uint32_t Id() override { return id_; }
  bool Terminou(unsigned esperaMs) override {
    if (WaitForSingleObject(processo_.get(), esperaMs) == WAIT_FAILED) return true;
    DWORD codigo = STILL_ACTIVE;
    return GetExitCodeProcess(processo_.get(), &codigo) && codigo != STILL_ACTIVE;
  }

 private:
  Handle processo_;
  std::uint32_t id_;
};

// Like the Shell function: the program starts with the given window state.
Falha Iniciar(const std::string& linhaComando, EstiloJanela estilo, PROCESS_INFORMATION& pi) {
  std::string linha = ParaCp1252(linhaComando);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = static_cast<WORD>(estilo);
  if (!CreateProcessA(nullptr, linha.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return FalhaDeErroWindows(GetLastError());
  return {};
}

}  // namespace

Falha ShellWin32::AbrirDocumento(IdJanela dono, const std::string& documento) {
  const HINSTANCE r = ShellExecuteA(reinterpret_cast<HWND>(dono), "open", ParaCp1252(documento).c_str(), "", "",
                                    SW_SHOWNORMAL);
  return FalhaDeResultadoShell(reinterpret_cast<std::intptr_t>(r));
}

Falha ShellWin32::Executar(IdJanela dono, const std::string& arquivo, const std::string& parametros,
                           EstiloJanela estilo) {
  const HINSTANCE r = ShellExecuteA(reinterpret_cast<HWND>(dono), "open", ParaCp1252(arquivo).c_str(),
                                    ParaCp1252(parametros).c_str(), nullptr, static_cast<int>(estilo));
  return FalhaDeResultadoShell(reinterpret_cast<std::intptr_t>(r));
}

// The program runs on its own; only its process id is kept.
Falha ShellWin32::IniciarPrograma(const std::string& linhaComando, EstiloJanela estilo, std::uint32_t& idProcesso) {
  idProcesso = 0;
  PROCESS_INFORMATION pi{};
  if (Falha f = Iniciar(linhaComando, estilo, pi); f.Ocorreu()) return f;
  Handle processo(pi.hProcess), linhaExecucao(pi.hThread);
  idProcesso = pi.dwProcessId;
  return {};
}

Falha ShellWin32::IniciarProcesso(const std::string& linhaComando, EstiloJanela estilo,
                                  std::unique_ptr<IProcessoIniciado>& processo) {
  PROCESS_INFORMATION pi{};
  if (Falha f = Iniciar(linhaComando, estilo, pi); f.Ocorreu()) return f;
  Handle linhaExecucao(pi.hThread);
  processo = std::make_unique<ProcessoIniciadoWin32>(Handle(pi.hProcess), pi.dwProcessId);
  return {};
}

Falha ShellWin32::ExecutarProcesso(const std::string& arquivo, const std::string& parametros, EstiloJanela estilo,
                                   std::unique_ptr<IProcessoIniciado>& processo) {
  const std::string arquivoAnsi = ParaCp1252(arquivo), parametrosAnsi = ParaCp1252(parametros);
  SHELLEXECUTEINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  info.lpVerb = "open";
  info.lpFile = arquivoAnsi.c_str();
  info.lpParameters = parametrosAnsi.c_str();
  info.nShow = static_cast<int>(estilo);
  if (!ShellExecuteExA(&info)) return FalhaDeErroWindows(GetLastError());
  if (info.hProcess == nullptr) return FalhaDeErroWindows(ERROR_INVALID_HANDLE);
  processo = std::make_unique<ProcessoIniciadoWin32>(Handle(info.hProcess), GetProcessId(info.hProcess));
  return {};
}

}  // namespace tavoran::win32
