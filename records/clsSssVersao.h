#pragma once
// The version file of a system (Diretorio\<Sistema>VERSAO.BTR): per system and program
// file, the released program versions, in a 1024-byte record with seven keys.
#include <cstdint>
#include <string>

#include "records/RegistroBtrieve.h"

namespace tavoran {

class clsSssVersao : public RegistroBtrieve {
 public:
  static constexpr const char* kDefinicaoChaves =
      "/1/14/DF/79/64/DMS/1/14/DMF/143/14/DMS/79/64/DMS/1/14/DMF/189/8/DMS/79/64/DMS/1/14/DMF/197/8/DMS/79/64/DMS/"
      "1/14/DMF/79/64/DMS/143/14/DMS/157/32/DMS/189/8/DMS/197/8/DMF/462/19/DF/";
  static constexpr std::size_t kTamanhoRegistro = 1024;

  clsSssVersao(IBtrieve& btrieve, IArquivos& arquivos);

  using RegistroBtrieve::Diretorio;
  void Diretorio(const std::string& v_sDiretorio);
  const std::string& Sistema() const { return sistema_; }
  void Sistema(const std::string& v_sSistema);

  std::string VersaoSistema() const { return Campo(kVersaoSistema); }
  void VersaoSistema(const std::string& v) { Campo(kVersaoSistema, v); }
  std::string CaminhoProgramaArquivo() const { return Campo(kCaminhoProgramaArquivo); }
  void CaminhoProgramaArquivo(const std::string& v) { Campo(kCaminhoProgramaArquivo, v); }
  std::string NomeProgramaArquivo() const { return Campo(kNomeProgramaArquivo); }
  void NomeProgramaArquivo(const std::string& v) { Campo(kNomeProgramaArquivo, v); }
  std::string VersaoPrograma() const { return Campo(kVersaoPrograma); }
  void VersaoPrograma(const std::string& v) { Campo(kVersaoPrograma, v); }
  std::string hash() const { return Campo(kHash); }
  void hash(const std::string& v) { Campo(kHash, v); }
  std::string RegDataCriacao() const { return Campo(kRegDataCriacao); }
  void RegDataCriacao(const std::string& v) { Campo(kRegDataCriacao, v); }
  std::string RegDataUltAlteracao() const { return Campo(kRegDataUltAlteracao); }
  void RegDataUltAlteracao(const std::string& v) { Campo(kRegDataUltAlteracao, v); }
  std::string Observacao() const { return Campo(kObservacao); }
  void Observacao(const std::string& v) { Campo(kObservacao, v); }
  std::string Funcionando() const { return Campo(kFuncionando); }
  void Funcionando(const std::string& v) { Campo(kFuncionando, v); }
  std::string Beta() const { return Campo(kBeta); }
  void Beta(const std::string& v) { Campo(kBeta, v); }
  std::string VersaoOrdenacao() const { return Campo(kVersaoOrdenacao); }
  void VersaoOrdenacao(const std::string& v) { Campo(kVersaoOrdenacao, v); }
  std::string Boletim() const { return Campo(kBoletim); }
  void Boletim(const std::string& v) { Campo(kBoletim, v); }

  bool Criar();
  bool Abrir(std::int32_t v_eModoAbertura, const std::string& v_sNomeProprietario);
  using RegistroBtrieve::AdicionarNovo;
  using RegistroBtrieve::Excluir;
  using RegistroBtrieve::Fechar;
  using RegistroBtrieve::Gravar;
  using RegistroBtrieve::Ler;

  void MontarChave0(const std::string& v_sVersaoSistema);
  void MontarChave1(const std::string& v_sNomeArquivo, const std::string& v_sVersaoSistema);
  void MontarChave2(const std::string& v_sVersaoPrograma, const std::string& v_sNomeArquivo,
                    const std::string& v_sVersaoSistema);
  void MontarChave3(const std::string& v_sDataCriacaoRegistro, const std::string& v_sNomeArquivo,
                    const std::string& v_sVersaoSistema);
  void MontarChave4(const std::string& v_sDataUltAlteracaoRegistro, const std::string& v_sNomeArquivo,
                    const std::string& v_sVersaoSistema);
  void MontarChave5(const std::string& v_sNomeArquivo, const std::string& v_sVersaoPrograma, const std::string& v_sHash,
                    const std::string& v_sDataCriacaoRegistro, const std::string& v_sDataUltAlteracaoRegistro);
  void MontarChave6(const std::string& v_sVersaoOrdenacao);

  static constexpr CampoRegistro kVersaoSistema{1, 14}, kCaminhoProgramaArquivo{15, 64},
      kNomeProgramaArquivo{79, 64}, kVersaoPrograma{143, 14}, kHash{157, 32}, kRegDataCriacao{189, 8},
      kRegDataUltAlteracao{197, 8}, kObservacao{205, 255}, kFuncionando{460, 1}, kBeta{461, 1},
      kVersaoOrdenacao{462, 19}, kBoletim{481, 8};

 private:
  void AtualizarArquivo(const std::string& v_sDiretorio);

  std::string sistema_;
};

}  // namespace tavoran
