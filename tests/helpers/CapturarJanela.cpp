// Demo aid: starts a program, waits until its progress window (class frmInicial) is on the
// screen and painted (and, when a fourth argument is given, until its step text begins with
// that text and is painted), freezes the process while an outside tool takes a screenshot, then lets it go
// on. Arguments: <program> <ready-file> <continue-file> [step text]. Exit code 0 when the
// window was caught, 1 when the program ended or 60 s passed first.
#include <windows.h>

#include <string>
#include <vector>

#include "tests/helpers/AutomacaoUi.h"

namespace {

bool Existe(const char* caminho) { return GetFileAttributesA(caminho) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  if (__argc < 4) return 2;
  std::string linha = std::string("\"") + __argv[1] + "\"";
  std::string pasta = __argv[1];
  pasta = pasta.substr(0, pasta.rfind('\\'));
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, linha.data(), nullptr, nullptr, FALSE, 0, nullptr, pasta.c_str(), &si, &pi)) return 2;
  int codigo = 1;
  const std::string passoEsperado = __argc >= 5 ? __argv[4] : "";
  const ULONGLONG fim = GetTickCount64() + 60000;
  std::string visto;
  ULONGLONG vistoEm = 0;
  while (GetTickCount64() < fim && WaitForSingleObject(pi.hProcess, 1) == WAIT_TIMEOUT) {
    // The step text of the sequence shows that the window has been painted at least once.
    HWND passo = tavoran::testes::RotuloDoPasso(pi.dwProcessId);
    if (passo == nullptr) continue;
    const std::string texto = tavoran::testes::TextoDaJanela(passo);
    // The program repaints its step text a moment after setting it (up to 25 ms later, and a
    // wait for another program lets its window's events run only every 100 ms), and the display
    // shows a repaint a moment later still: the screenshot waits until one step's text has stood
    // painted for longer than that, and freezes the program only if it still does.
    if (texto == "Descrição do Processo..." || texto.rfind(passoEsperado, 0) != 0 || texto != visto ||
        GetUpdateRect(passo, nullptr, FALSE)) {
      visto = texto;
      vistoEm = GetTickCount64();
      continue;
    }
    if (GetTickCount64() - vistoEm < 300) continue;
    {
      tavoran::testes::ProcessoCongelado congelado(pi.dwProcessId);
      if (tavoran::testes::TextoDaJanela(passo) != visto || GetUpdateRect(passo, nullptr, FALSE)) continue;
      CloseHandle(CreateFileA(__argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
      for (int i = 0; i < 600 && !Existe(__argv[3]); ++i) Sleep(50);
    }
    codigo = 0;
    break;
  }
  WaitForSingleObject(pi.hProcess, 60000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return codigo;
}
