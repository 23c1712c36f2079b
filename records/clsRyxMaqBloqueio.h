#pragma once
// A computer's update lock on the share: the empty Btrieve file Diretorio\RYX<MACHINE>.BLQ,
// held open in exclusive mode (-4) for the whole update; a normal open by anyone else
// then answers status 88.
#include <cstdint>
#include <string>

#include "records/RegistroBtrieve.h"

namespace tavoran {

class clsRyxMaqBloqueio : public RegistroBtrieve {
 public:
  static constexpr const char* kDefinicaoChaves = "/1/1/F/";
  static constexpr std::size_t kTamanhoRegistro = 512;

  clsRyxMaqBloqueio(IBtrieve& btrieve, IArquivos& arquivos);

  using RegistroBtrieve::Diretorio;
  void Diretorio(const std::string& v_sDiretorio);
  const std::string& MaquinaNome() const { return maquinaNome_; }
  void MaquinaNome(const std::string& v_sMaquinaNome);

  bool Criar();
  bool Abrir(std::int32_t v_eModoAbertura, const std::string& v_sNomeProprietario);
  using RegistroBtrieve::Fechar;

 private:
  void AtualizarArquivo(const std::string& v_sDiretorio);

  std::string maquinaNome_;
};

}  // namespace tavoran
