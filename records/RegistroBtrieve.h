#pragma once
// What every record class of the share has in common: one access object and its
// complements object, the fixed-length record image (single-byte, Windows-1252), the
// key last built, the new-record flag and the error state fed by the owned objects'
// OnErro events. Fields are read and written by 1-based position and width.
#include <cstdint>
#include <memory>
#include <string>

#include "btrieve/clsComplArq.h"
#include "btrieve/clsTavBtr20.h"
#include "platform/Arquivos.h"
#include "platform/Btrieve.h"

namespace tavoran {

struct CampoRegistro {
  std::size_t posicao;  // 1-based
  std::size_t tamanho;
};

// The own codes and texts of one record class.
struct CodigosRegistro {
  std::int32_t criarSemArquivo, abrirSemArquivo, abrirArquivoInexistente;
  const char* textoSemArquivo;
};

// The base of the record classes: the members every one exposes are public, the record
// operations are protected and each class exposes those its file offers.
class RegistroBtrieve {
 public:
  RegistroBtrieve(const RegistroBtrieve&) = delete;
  RegistroBtrieve& operator=(const RegistroBtrieve&) = delete;

  std::int32_t ErroNumero() const { return erroNumero_; }
  const std::string& ErroDescricao() const { return erroDescricao_; }
  clsComplArq& Complementos();
  const std::string& Chave() const { return chave_; }
  std::uint8_t ChaveNumero() const { return chaveNumero_; }
  void ChaveNumero(std::uint8_t v_bChaveNumero) { chaveNumero_ = v_bChaveNumero; }
  bool ArquivoExiste();
  const std::string& Arquivo() const { return arquivo_; }
  const std::string& Diretorio() const { return diretorio_; }
  // The record image as stored (Windows-1252).
  const std::string& Imagem() const { return imagem_; }

 protected:
  RegistroBtrieve(IBtrieve& btrieve, IArquivos& arquivos, std::size_t tamanhoRegistro, CodigosRegistro codigos);
  ~RegistroBtrieve() = default;

  void DefinirCaminho(const std::string& diretorio, const std::string& arquivo);
  void LimparErro();
  void DefinirErro(std::int32_t numero, const std::string& descricao);

  // The field as UTF-8, blanks included; writing blanks the field, then puts the value
  // (in Windows-1252) from its first position, cut at its width.
  std::string Campo(CampoRegistro campo) const;
  void Campo(CampoRegistro campo, const std::string& valor);
  // The key from its pieces, each cut or padded to its width, and its number.
  void MontarChave(std::uint8_t numero, std::initializer_list<std::pair<std::string, std::size_t>> partes);

  bool Criar(std::int16_t v_iTamanhoPagina, std::uint8_t v_bNumeroChaves, const std::string& v_sDefinicaoChaves);
  bool Abrir(std::int32_t v_eModoAbertura, const std::string& v_sNomeProprietario);
  bool Ler(std::int32_t v_eOperacao);
  void AdicionarNovo();
  bool Gravar();
  bool Excluir();
  bool Fechar();

 private:
  template <class F>
  bool Protegido(const char* rotina, F&& corpo);
  void ReceberErro(std::int32_t numero, const std::string& descricao);

  IArquivos& arquivos_;
  clsTavBtr20 acesso_;
  std::unique_ptr<clsComplArq> complementos_;
  std::size_t tamanhoRegistro_;
  CodigosRegistro codigos_;
  std::string imagem_;
  std::string chave_;
  std::uint8_t chaveNumero_ = 0;
  bool novo_ = false;
  std::int32_t erroNumero_ = 0;
  std::string erroDescricao_;
  std::string diretorio_, arquivo_;
  // The path ArquivoExiste last found listed: the Open that follows it looks it up no more.
  std::string listado_;
};

}  // namespace tavoran
