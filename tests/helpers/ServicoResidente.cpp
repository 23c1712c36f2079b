// Stand-in for the suite's resident service, built as TAVMANAGER.EXE: a Windows service that
// appends "inicio <process id>" once it runs and "parada <process id>" once it has stopped to
// "<its own path>.txt". Like a real service it needs most of a second to stop.
#include <windows.h>

#include <string>

#include "tests/helpers/MarcaTempo.h"

namespace {

struct Servico {
  SERVICE_STATUS_HANDLE estado = nullptr;
  HANDLE parar = nullptr;
};

void Informar(const Servico& s, DWORD situacao, DWORD esperaMs = 0) {
  SERVICE_STATUS st{};
  st.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
  st.dwCurrentState = situacao;
  st.dwControlsAccepted = situacao == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP : 0;
  st.dwWaitHint = esperaMs;
  SetServiceStatus(s.estado, &st);
}

void Registrar(const char* evento) {
  char proprio[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, proprio, MAX_PATH);
  tavoran::testes::AcrescentarLinha(std::string(proprio) + ".txt",
                                    std::string(evento) + " " + std::to_string(GetCurrentProcessId()) + "\r\n");
}

DWORD WINAPI Controlar(DWORD controle, DWORD, void*, void* contexto) {
  const auto* s = static_cast<Servico*>(contexto);
  if (controle != SERVICE_CONTROL_STOP) return ERROR_CALL_NOT_IMPLEMENTED;
  Informar(*s, SERVICE_STOP_PENDING, 3000);
  SetEvent(s->parar);
  return NO_ERROR;
}

void WINAPI Executar(DWORD, LPSTR*) {
  Servico s;
  s.parar = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  s.estado = RegisterServiceCtrlHandlerExA("TAVMANAGER", Controlar, &s);
  if (s.estado == nullptr) return;
  Informar(s, SERVICE_RUNNING);
  Registrar("inicio");
  WaitForSingleObject(s.parar, INFINITE);
  Sleep(800);
  Registrar("parada");
  CloseHandle(s.parar);
  Informar(s, SERVICE_STOPPED);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char nome[] = "TAVMANAGER";
  SERVICE_TABLE_ENTRYA tabela[] = {{nome, Executar}, {nullptr, nullptr}};
  return StartServiceCtrlDispatcherA(tabela) ? 0 : 1;
}
