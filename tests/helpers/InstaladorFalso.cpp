// Stand-in for an installer: it appends "<its file name>|<its command line>" and CR LF to the
// file that the variable TAV_REGISTRO_COMANDOS names, works for a moment, and appends
// "<its file name>|fim" as it ends, so that the order of the lines shows whether whoever
// started it waited for its end.
#include <windows.h>

#include <string>

#include "tests/helpers/MarcaTempo.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::string registro(MAX_PATH, '\0');
  const DWORD n = GetEnvironmentVariableA("TAV_REGISTRO_COMANDOS", registro.data(), MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return 1;
  registro.resize(n);
  const std::string nome = tavoran::testes::NomeDoProprioPrograma();
  if (!tavoran::testes::AcrescentarLinha(registro, nome + "|" + GetCommandLineA() + "\r\n")) return 1;
  Sleep(1500);
  return tavoran::testes::AcrescentarLinha(registro, nome + "|fim\r\n") ? 0 : 1;
}
