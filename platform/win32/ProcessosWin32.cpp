#include "platform/win32/ProcessosWin32.h"

#include <windows.h>
#include <tlhelp32.h>

#include "platform/ErrosWindows.h"
#include "platform/Texto.h"
#include "platform/win32/Recursos.h"

namespace tavoran::win32 {
namespace {

std::string CaminhoDoProcesso(DWORD id) {
  Handle processo(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
  if (!processo.Valido()) return {};
  char caminho[MAX_PATH * 2] = {};
  DWORD tamanho = sizeof caminho;
  if (!QueryFullProcessImageNameA(processo.get(), 0, caminho, &tamanho)) return {};
  return DeCp1252(std::string(caminho, tamanho));
}

}  // namespace

std::vector<InfoProcesso> ProcessosWin32::Listar() {
  std::vector<InfoProcesso> lista;
  Handle foto(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!foto.Valido()) return lista;
  PROCESSENTRY32 entrada{};
  entrada.dwSize = sizeof entrada;
  for (BOOL ok = Process32First(foto.get(), &entrada); ok; ok = Process32Next(foto.get(), &entrada)) {
    InfoProcesso p;
    p.id = entrada.th32ProcessID;
    p.nome = DeCp1252(entrada.szExeFile);
    p.caminho = CaminhoDoProcesso(entrada.th32ProcessID);
    DWORD sessao = 0;
    if (ProcessIdToSessionId(entrada.th32ProcessID, &sessao)) p.sessao = sessao;
    lista.push_back(std::move(p));
  }
  return lista;
}

Falha ProcessosWin32::Terminar(std::uint32_t id) {
  Handle processo(OpenProcess(PROCESS_TERMINATE, FALSE, id));
  if (!processo.Valido() || !TerminateProcess(processo.get(), 1)) return FalhaDeErroWindows(GetLastError());
  return {};
}

bool ProcessosWin32::SessaoAtual(std::uint32_t& sessao) {
  DWORD s = 0;
  if (!ProcessIdToSessionId(GetCurrentProcessId(), &s)) return false;
  sessao = s;
  return true;
}

}  // namespace tavoran::win32
