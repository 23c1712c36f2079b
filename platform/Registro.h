#pragma once
// Registry facility: HKEY_LOCAL_MACHINE and the other roots in the 32-bit view,
// with the semantics of RegOpenKeyA / RegCreateKeyA / RegQueryValueExA / RegSetValueExA.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/Erro.h"

namespace tavoran {

enum class RaizRegistro : std::uint32_t {
  ClassesRoot = 0x80000000u,
  CurrentUser = 0x80000001u,
  LocalMachine = 0x80000002u,
  Users = 0x80000003u,
};

constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegDword = 4;

class IChaveRegistro {
 public:
  virtual ~IChaveRegistro() = default;  // closes the key
  // Type and raw data of a value. Text values (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ) come as
  // UTF-8, with whatever NUL bytes the stored value holds; other types as stored bytes.
  // A missing value or key fails with the Windows code 2 (file not found).
  virtual Falha Consultar(const std::string& nome, std::uint32_t& tipo, std::string& dados) = 0;
  // Writes a value; text types take UTF-8 and are stored in Windows-1252 without a NUL.
  virtual Falha Gravar(const std::string& nome, std::uint32_t tipo, const std::string& dados) = 0;
  // RegCloseKey; later calls on a closed key fail.
  virtual Falha Fechar() = 0;
};

class IRegistro {
 public:
  virtual ~IRegistro() = default;
  virtual Falha Abrir(RaizRegistro raiz, const std::string& caminho, std::unique_ptr<IChaveRegistro>& chave) = 0;
  virtual Falha Criar(RaizRegistro raiz, const std::string& caminho, std::unique_ptr<IChaveRegistro>& chave) = 0;
};

}  // namespace tavoran
