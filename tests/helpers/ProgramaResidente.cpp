// Stand-in for a program of the suite that keeps running (a resident program, the application
// manager): it appends "<its file name>|<its command line>" and CR LF to the file that the
// variable TAV_REGISTRO_COMANDOS names and runs until it is ended. With the argument --teimoso
// its process's access list denies termination to everybody who opens it afterwards, so that
// neither TerminateProcess nor taskkill can end it (its starter's handle still can).
#include <windows.h>
#include <aclapi.h>

#include <string>

#include "tests/helpers/MarcaTempo.h"

namespace {

bool RecusarTerminacao() {
  SID_IDENTIFIER_AUTHORITY mundo = SECURITY_WORLD_SID_AUTHORITY;
  PSID todos = nullptr;
  if (!AllocateAndInitializeSid(&mundo, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &todos)) return false;
  EXPLICIT_ACCESSA acessos[2] = {};
  acessos[0].grfAccessPermissions = PROCESS_TERMINATE;
  acessos[0].grfAccessMode = DENY_ACCESS;
  acessos[1].grfAccessPermissions =
      PROCESS_QUERY_INFORMATION | PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE | READ_CONTROL;
  acessos[1].grfAccessMode = GRANT_ACCESS;
  for (auto& a : acessos) {
    a.grfInheritance = NO_INHERITANCE;
    a.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    a.Trustee.ptstrName = static_cast<LPSTR>(todos);
  }
  PACL lista = nullptr;
  const bool ok = SetEntriesInAclA(2, acessos, nullptr, &lista) == ERROR_SUCCESS &&
                  SetSecurityInfo(GetCurrentProcess(), SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                  lista, nullptr) == ERROR_SUCCESS;
  LocalFree(lista);
  FreeSid(todos);
  return ok;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR argumentos, int) {
  if (std::string(argumentos).find("--teimoso") != std::string::npos && !RecusarTerminacao()) return 2;
  std::string registro(MAX_PATH, '\0');
  const DWORD n = GetEnvironmentVariableA("TAV_REGISTRO_COMANDOS", registro.data(), MAX_PATH);
  if (n > 0 && n < MAX_PATH) {
    registro.resize(n);
    tavoran::testes::AcrescentarLinha(registro,
                                      tavoran::testes::NomeDoProprioPrograma() + "|" + GetCommandLineA() + "\r\n");
  }
  for (;;) Sleep(INFINITE);
}
