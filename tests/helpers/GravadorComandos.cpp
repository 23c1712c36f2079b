// Stand-in for an outside program (the application manager's starter, the browser): it
// appends "<its file name>|<its command line>" and CR LF to the file that the variable
// TAV_REGISTRO_COMANDOS names (else "<its own path>.txt") and ends. With TAV_REGISTRO_TEMPOS
// set it also records when its process was created and when it started
// (tests/helpers/MarcaTempo.h), for the benchmarks.
#include <windows.h>

#include <string>

#include "tests/helpers/MarcaTempo.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::int64_t inicio = tavoran::testes::AgoraUnixNs();
  char proprio[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, proprio, MAX_PATH);
  std::string registro(MAX_PATH, '\0');
  const DWORD n = GetEnvironmentVariableA("TAV_REGISTRO_COMANDOS", registro.data(), MAX_PATH);
  registro = n > 0 && n < MAX_PATH ? registro.substr(0, n) : std::string(proprio) + ".txt";
  const std::string linha = tavoran::testes::NomeDoProprioPrograma() + "|" + GetCommandLineA() + "\r\n";
  if (!tavoran::testes::AcrescentarLinha(registro, linha)) return 1;
  tavoran::testes::GravarMarcaTempo(inicio);
  return 0;
}
