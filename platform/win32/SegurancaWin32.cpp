#include "platform/win32/SegurancaWin32.h"

#include <windows.h>
#include <shlobj.h>

#include "platform/Texto.h"
#include "platform/win32/Recursos.h"

namespace tavoran::win32 {
namespace {

constexpr DWORD kMaximoGrupos = 500;

// LookupAccountSidA with 255-character buffers; false when the name is unknown.
bool NomeConta(PSID sid, std::string& nome) {
  char conta[256] = {}, dominio[256] = {};
  DWORD tamanhoConta = 255, tamanhoDominio = 255;
  SID_NAME_USE uso{};
  if (!LookupAccountSidA(nullptr, sid, conta, &tamanhoConta, dominio, &tamanhoDominio, &uso)) return false;
  nome = DeCp1252(conta);
  return true;
}

// The local Administrators group's SID, freed with it.
class SidAdministradores {
 public:
  SidAdministradores() {
    SID_IDENTIFIER_AUTHORITY autoridade = SECURITY_NT_AUTHORITY;
    if (!AllocateAndInitializeSid(&autoridade, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0,
                                  0, 0, &sid_))
      sid_ = nullptr;
  }
  SidAdministradores(const SidAdministradores&) = delete;
  SidAdministradores& operator=(const SidAdministradores&) = delete;
  ~SidAdministradores() {
    if (sid_) FreeSid(sid_);
  }
  PSID get() const { return sid_; }

 private:
  PSID sid_ = nullptr;
};

}  // namespace

bool SegurancaWin32::Elevado() { return IsUserAnAdmin() == TRUE; }

bool SegurancaWin32::GruposDoToken(std::vector<std::string>& nomes) {
  nomes.clear();
  HANDLE bruto = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_READ, &bruto)) return false;
  Handle token(bruto);
  DWORD tamanho = 0;
  GetTokenInformation(token.get(), TokenGroups, nullptr, 0, &tamanho);
  if (tamanho == 0) return false;
  std::vector<DWORD_PTR> buffer((tamanho + sizeof(DWORD_PTR) - 1) / sizeof(DWORD_PTR));
  if (!GetTokenInformation(token.get(), TokenGroups, buffer.data(), tamanho, &tamanho)) return false;
  const auto* grupos = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
  for (DWORD i = 0; i < grupos->GroupCount && i < kMaximoGrupos; ++i) {
    std::string nome;
    if (NomeConta(grupos->Groups[i].Sid, nome)) nomes.push_back(nome);
  }
  return true;
}

bool SegurancaWin32::NomeGrupoAdministradores(std::string& nome) {
  SidAdministradores sid;
  return sid.get() != nullptr && NomeConta(sid.get(), nome);
}

}  // namespace tavoran::win32
