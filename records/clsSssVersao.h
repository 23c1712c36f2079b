#pragma once
// The version file of a system (Diretorio\<Sistema>VERSAO.BTR): per system and program
// file, the released program versions, in a 1024-byte record with seven keys.
#include <cstdint>
#include <string>

#include "records/RegistroBtrieve.h"

namespace tavoran {

class clsSssVersao {
 public:
  static constexpr const char* kDefinicaoChaves =
      "/1/14/DF/79/64/DMS/1/14/DMF/143/14/DMS/79/64/DMS/1/14/DMF/189/8/DMS/79/64/DMS/1/14/DMF/197/8/DMS/79/64/DMS/"
      "1/14/DMF/79/64/DMS/143/14/DMS/157/32/DMS/189/8/DMS/197/8/DMF/462/19/DF/";
  static constexpr std::size_t kTamanhoRegistro = 1024;

  clsSssVersao(IBtrieve& btrieve, IArquivos& arquivos);

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
  const std::string& Sistema() const { return sistema_; }
  void Sistema(const std::string& v_sSistema);

  std::string VersaoSistema() const { return registro_.Campo(kVersaoSistema); }
  void VersaoSistema(const std::string& v) { registro_.Campo(kVersaoSistema, v); }
  std::string CaminhoProgramaArquivo() const { return registro_.Campo(kCaminhoProgramaArquivo); }
  void CaminhoProgramaArquivo(const std::string& v) { registro_.Campo(kCaminhoProgramaArquivo, v); }
  std::string NomeProgramaArquivo() const { return registro_.Campo(kNomeProgramaArquivo); }
  void NomeProgramaArquivo(const std::string& v) { registro_.Campo(kNomeProgramaArquivo, v); }
  std::string VersaoPrograma() const { return registro_.Campo(kVersaoPrograma); }
  void VersaoPrograma(const std::string& v) { registro_.Campo(kVersaoPrograma, v); }
  std::string hash() const { return registro_.Campo(kHash); }
  void hash(const std::string& v) { registro_.Campo(kHash, v); }
  std::string RegDataCriacao() const { return registro_.Campo(kRegDataCriacao); }
  void RegDataCriacao(const std::string& v) { registro_.Campo(kRegDataCriacao, v); }
  std::string RegDataUltAlteracao() const { return registro_.Campo(kRegDataUltAlteracao); }
  void RegDataUltAlteracao(const std::string& v) { registro_.Campo(kRegDataUltAlteracao, v); }
  std::string Observacao() const { return registro_.Campo(kObservacao); }
  void Observacao(const std::string& v) { registro_.Campo(kObservacao, v); }
  std::string Funcionando() const { return registro_.Campo(kFuncionando); }
  void Funcionando(const std::string& v) { registro_.Campo(kFuncionando, v); }
  std::string Beta() const { return registro_.Campo(kBeta); }
  void Beta(const std::string& v) { registro_.Campo(kBeta, v); }
  std::string VersaoOrdenacao() const { return registro_.Campo(kVersaoOrdenacao); }
  void VersaoOrdenacao(const std::string& v) { registro_.Campo(kVersaoOrdenacao, v); }
  std::string Boletim() const { return registro_.Campo(kBoletim); }
  void Boletim(const std::string& v) { registro_.Campo(kBoletim, v); }

  bool Criar();
  bool Abrir(std::int32_t v_eModoAbertura, const std::string& v_sNomeProprietario);
  bool Ler(std::int32_t v_eOperacao) { return registro_.Ler(v_eOperacao); }
  void AdicionarNovo() { registro_.AdicionarNovo(); }
  bool Gravar() { return registro_.Gravar(); }
  bool Excluir() { return registro_.Excluir(); }
  bool Fechar() { return registro_.Fechar(); }

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

  // The record image as stored (Windows-1252).
  const std::string& Imagem() const { return registro_.Imagem(); }

  static constexpr CampoRegistro kVersaoSistema{1, 14}, kCaminhoProgramaArquivo{15, 64},
      kNomeProgramaArquivo{79, 64}, kVersaoPrograma{143, 14}, kHash{157, 32}, kRegDataCriacao{189, 8},
      kRegDataUltAlteracao{197, 8}, kObservacao{205, 255}, kFuncionando{460, 1}, kBeta{461, 1},
      kVersaoOrdenacao{462, 19}, kBoletim{481, 8};

 private:
  void AtualizarArquivo();

  RegistroBtrieve registro_;
  std::string diretorio_, sistema_, arquivo_;
};

}  // namespace tavoran
