#pragma once
// A computer's update lock on the share: the empty Btrieve file Diretorio\RYX<MACHINE>.BLQ,
// held open in exclusive mode (-4) for the whole update; a normal open by anyone else
// then answers status 88.
#include <cstdint>
#include <string>

#include "records/RegistroBtrieve.h"

namespace tavoran {

class clsRyxMaqBloqueio {
 public:
  static constexpr const char* kDefinicaoChaves = "/1/1/F/";
  static constexpr std::size_t kTamanhoRegistro = 512;

  clsRyxMaqBloqueio(IBtrieve& btrieve, IArquivos& arquivos);

  std::int32_t ErroNumero() const { return registro_.ErroNumero(); }
  const std::string& ErroDescricao() const { return registro_.ErroDescricao(); }
  clsComplArq& Complementos() { return registro_.Complementos(); }
  const std::string& Chave() const { return registro_.Chave(); }
  std::uint8_t ChaveNumero() const { return registro_.ChaveNumero(); }
  void ChaveNumero(std::uint8_t v_bChaveNumero) { registro_.ChaveNumero(v_bChaveNumero); }
  bool ArquivoExiste() { return registro_.ArquivoExiste(arquivo_); }
  const std::string& Arquivo() const { return arquivo_; }
  const std::string& Diretorio() const { return diretorio_; }
  void Diretorio(const std::string& v_sDiretorio);
  const std::string& MaquinaNome() const { return maquinaNome_; }
  void MaquinaNome(const std::string& v_sMaquinaNome);

  bool Criar();
  bool Abrir(std::int32_t v_eModoAbertura, const std::string& v_sNomeProprietario);
  bool Fechar() { return registro_.Fechar(); }

 private:
  void AtualizarArquivo();

  RegistroBtrieve registro_;
  std::string diretorio_, maquinaNome_, arquivo_;
};

}  // namespace tavoran
