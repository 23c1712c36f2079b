#pragma once
// Drives facility: network drive mapping; what a drive letter is and where it points.
#include <cstdint>
#include <string>

#include "platform/Erro.h"

namespace tavoran {

class IUnidades {
 public:
  virtual ~IUnidades() = default;
  // WNetAddConnectionA(remoto, no password, local).
  virtual Falha Mapear(const std::string& remoto, const std::string& local) = 0;
};

// GetDriveTypeA's answers.
enum class TipoUnidade : int {
  Desconhecida = 0,
  Inexistente = 1,  // no such drive (no root folder)
  Removivel = 2,
  Fixa = 3,
  Remota = 4,
  CdRom = 5,
  RamDisk = 6,
};

class IConsultaUnidades {
 public:
  virtual ~IConsultaUnidades() = default;
  // GetDriveTypeA of the letter's root ("X:\").
  virtual TipoUnidade Tipo(char letra) = 0;
  // WNetGetConnectionA of "X:": true and the share (\\SERVIDOR\DADOS) of a mapped letter.
  virtual bool NomeCompartilhamento(char letra, std::string& compartilhamento) = 0;
};

}  // namespace tavoran
