#pragma once
// One open Btrieve record file: position block, record and key buffers, key number,
// owner, open mode and lock bias. Every operation is one BTRCALL (Alterar: a bounded
// series) and returns true when done; the reason of a false result is in Erro() and is
// announced through OnErro. Buffer and Chave are record images in the engine's
// single-byte code page (Windows-1252); file and owner names are UTF-8.
#include <cstdint>
#include <string>

#include "btrieve/clsTavBtrErros.h"
#include "platform/Arquivos.h"
#include "platform/Btrieve.h"

namespace tavoran {

// Operation codes of the published Btrieve interface used by the system.
namespace OperacaoBtrieve {
constexpr std::int32_t kAbrir = 0, kFechar = 1, kInserir = 2, kAlterar = 3, kExcluir = 4;
constexpr std::int32_t kObterIgual = 5, kObterProximo = 6, kObterAnterior = 7, kObterMaior = 8,
                       kObterMaiorOuIgual = 9, kObterMenor = 10, kObterMenorOuIgual = 11, kObterPrimeiro = 12,
                       kObterUltimo = 13;
constexpr std::int32_t kCriar = 14, kEstatisticas = 15, kIniciarTransacao = 19, kFinalizarTransacao = 20,
                       kAbortarTransacao = 21, kVersao = 26, kDesbloquear = 27, kReiniciar = 28,
                       kDefinirProprietario = 29, kRemoverProprietario = 30, kCriarIndice = 31, kExcluirIndice = 32;
constexpr std::int32_t kIniciarTransacaoConcorrente = 1019;
constexpr std::int32_t kModoTransacaoExclusiva = 1000;  // IniciarTransacao mode that selects 19
// Open modes passed as the key number of Open.
constexpr std::int32_t kModoNormal = 0, kModoExclusivo = -4;
}  // namespace OperacaoBtrieve

// Statuses the system relies on.
namespace StatusBtrieve {
constexpr std::int32_t kArquivoNaoAberto = 3, kChaveNaoEncontrada = 4, kFimArquivo = 9, kArquivoNaoEncontrado = 12,
                       kMotorInativo = 20, kArquivoJaExiste = 59, kRegistroBloqueado = 84, kArquivoBloqueado = 85,
                       kModoIncompativel = 88;
}  // namespace StatusBtrieve

class clsTavBtr20 {
 public:
  static constexpr std::size_t kTamanhoBlocoPosicao = 128;
  static constexpr std::size_t kTamanhoDados = 4088;
  static constexpr std::size_t kTamanhoChaveRascunho = 255;
  static constexpr std::int16_t kTamanhoRegistroMaximo = 4078;

  clsTavBtr20(IBtrieve& btrieve, IArquivos& arquivos);
  ~clsTavBtr20();  // closes the file, ignoring any failure
  clsTavBtr20(const clsTavBtr20&) = delete;
  clsTavBtr20& operator=(const clsTavBtr20&) = delete;

  clsTavBtrErros& Erro() { return erro_; }
  const std::string& Buffer() const { return buffer_; }
  void Buffer(const std::string& v_sBuffer) { buffer_ = v_sBuffer; }
  const std::string& Chave() const { return chave_; }
  void Chave(const std::string& v_sChave) { chave_ = v_sChave; }
  std::uint8_t NumeroChave() const { return numeroChave_; }
  void NumeroChave(std::uint8_t v_bNumeroChave) { numeroChave_ = v_bNumeroChave; }
  const std::string& NomeProprietario() const { return nomeProprietario_; }
  void NomeProprietario(const std::string& v_sNome) { nomeProprietario_ = v_sNome; }
  std::int32_t ModoAbertura() const { return modoAbertura_; }
  void ModoAbertura(std::int32_t v_lModo) { modoAbertura_ = v_lModo; }
  std::int32_t Espera() const { return espera_; }
  void Espera(std::int32_t v_lEspera) { espera_ = v_lEspera; }

  std::int32_t QuantidadeRegistros();
  std::int16_t TamanhoBuffer();
  std::string VersaoBtrieve();
  std::uint8_t QuantidadeChaves();
  std::int16_t TamanhoChave(std::uint8_t v_bNumeroChave);
  std::uint8_t QuantidadeSegmentos(std::uint8_t v_bNumeroChave);
  bool ArquivoAberto();

  bool Criar(const std::string& v_sArquivo, std::int16_t v_iTamanhoRegistro, std::int16_t v_iTamanhoPagina,
             std::uint8_t v_bNumeroChaves, const std::string& v_sDefinicaoChaves);
  // listado: the caller has just found the file in its folder; it is not looked up again.
  bool Abrir(const std::string& v_sArquivo, bool listado = false);
  bool Fechar();
  bool Inserir();
  bool Excluir();
  bool Desbloquear();
  bool Alterar();
  bool Reiniciar();
  bool Ler(std::int32_t v_enOperacao);
  bool IniciarTransacao(std::int32_t v_enModoTransacao);
  bool AbortarTransacao();
  bool FinalizarTransacao();
  bool CriarIndice(std::uint8_t v_bChave, const std::string& v_sDefinicaoChaves);
  bool ExcluirIndice(std::uint8_t v_bChave);
  bool DefinirProprietario(const std::string& v_sNomeProprietario, std::int32_t v_enModoBloqueio);
  bool RemoverProprietario();

  EventoErro OnErro;  // every non-zero status or own code found through the error object

 private:
  std::int16_t Chamar(std::int32_t operacao, std::string& bloco, std::string& dados, std::uint32_t tamanhoDados,
                      std::string& chave, std::size_t tamanhoChave, std::int32_t numeroChave);
  std::int16_t ChamarSimples(std::int32_t operacao, std::string& bloco, std::string dados, std::uint32_t tamanhoDados,
                             std::int32_t numeroChave);
  bool Concluir(std::int16_t status);
  bool Reportar(std::int32_t codigo);
  template <class R, class F>
  R Executar(const char* mensagem, R falha, F&& corpo);
  bool VerificarAntesCriacao(const std::string& v_sArquivo, std::int16_t v_iTamanhoPagina, int v_iSegmentos,
                             const std::string& v_sDefinicaoChaves);
  std::int16_t LerEstatisticas(std::string& especificacao);
  std::int32_t TotalizarChave(const std::string& especificacao, std::uint8_t v_bNumeroChave, bool somarTamanhos);
  std::string ByteParaHexadecimal(unsigned char v_bByte);
  std::int32_t HexadecimalParaLong(const std::string& v_sHexadecimal);
  void RepassarErro(std::int32_t numero, const std::string& descricao, const char* mensagemFalha);
  bool AlterarComRepeticao();
  void LiberarArquivoAberto();

  IBtrieve& btrieve_;
  IArquivos& arquivos_;
  clsTavBtrErros erro_;
  std::string buffer_, chave_, nomeProprietario_;
  std::uint8_t numeroChave_ = 0;
  std::string bloco_;
  std::int32_t modoAbertura_ = 0, espera_ = 0;
};

}  // namespace tavoran
