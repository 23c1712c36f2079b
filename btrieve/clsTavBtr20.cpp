#include "btrieve/clsTavBtr20.h"

#include <algorithm>
#include <cstdio>

#include "platform/ArquivoListado.h"
#include "btrieve/MontarChaves.h"
#include "platform/Erro.h"
#include "platform/Texto.h"

namespace tavoran {
namespace {

namespace Op = OperacaoBtrieve;

constexpr std::int32_t kEspacoNomeArquivo = 100063, kFalhaChaves = 100064, kChavesDiferentes = 100065,
                       kLimiteSegmentos = 100066, kFormatoDefinicao = 100067, kMaximoSegmentos = 100068,
                       kArquivoNaoInformado = 100069, kArquivoNaoExiste = 100070, kEspacoAbertura = 100071,
                       kRegistroBloqueado = 100072, kFormatoIndice = 100073, kMaximoSegmentosIndice = 100074,
                       kFalhaChavesIndice = 100075, kProprietarioLongo = 100076, kChaveInvalidaTamanho = 100077,
                       kChaveInvalidaSegmentos = 100078;
constexpr int kSegmentosPermitidos = 118;
constexpr int kRepeticoesAlterar = 20;
constexpr std::size_t kTamanhoVersao = 5;
constexpr std::size_t kTamanhoNomeProprietario = 8;

std::string Espacos(std::size_t n) { return std::string(n, ' '); }

// The text left-aligned in a field of the given size, padded with spaces or cut.
std::string Alinhado(const std::string& texto, std::size_t tamanho, char preenchimento = ' ') {
  std::string campo = texto.substr(0, tamanho);
  campo.resize(tamanho, preenchimento);
  return campo;
}

bool LimiteSegmentosExcedido(std::int16_t pagina, int segmentos) {
  if (pagina <= 512) return segmentos > 7;
  if (pagina <= 1023) return segmentos > 22;
  if (pagina <= 1535) return segmentos > 23;
  if (pagina <= 3583) return segmentos > 53;
  if (pagina >= 3586) return segmentos > 118;
  return false;
}

bool FechaChave(std::int16_t flags) { return flags >= 256 && flags <= 259; }

}  // namespace

template <class R, class F>
R clsTavBtr20::Executar(const char* mensagem, R falha, F&& corpo) {
  try {
    return corpo();
  } catch (...) {
    const Falha f = FalhaDaExcecaoAtual();
    erro_.AdicionarErro(f.numero, mensagem + f.descricao);
    return falha;
  }
}

clsTavBtr20::clsTavBtr20(IBtrieve& btrieve, IArquivos& arquivos)
    : btrieve_(btrieve), arquivos_(arquivos), bloco_(Espacos(kTamanhoBlocoPosicao)) {
  Executar("Erro inesperado ao inicializar classe: ", true, [&] {
    erro_.OnErro = [this](std::int32_t n, const std::string& d) {
      RepassarErro(n, d, "Erro inesperado ao receber evento de erro: ");
    };
    erro_.OnLocalizaErro = [this](std::int32_t n, const std::string& d) {
      if (n != 0) RepassarErro(n, d, "Erro inesperado ao receber evento de Localiza Erro: ");
    };
    return true;
  });
}

clsTavBtr20::~clsTavBtr20() {
  // The owner is going away: nothing is announced to it any more.
  OnErro = nullptr;
  erro_.OnErro = nullptr;
  erro_.OnLocalizaErro = nullptr;
  try {
    if (ArquivoAberto()) Fechar();
  } catch (...) {
  }
}

void clsTavBtr20::RepassarErro(std::int32_t numero, const std::string& descricao, const char* mensagemFalha) {
  try {
    if (OnErro) OnErro(numero, descricao);
  } catch (...) {
    const Falha f = FalhaDaExcecaoAtual();
    erro_.AdicionarErro(f.numero, mensagemFalha + f.descricao);
  }
}

std::int16_t clsTavBtr20::Chamar(std::int32_t operacao, std::string& bloco, std::string& dados,
                                 std::uint32_t tamanhoDados, std::string& chave, std::size_t tamanhoChave,
                                 std::int32_t numeroChave) {
  // Every buffer holds at least what its length announces, and the key buffer at least
  // the scratch size, so that an engine writing a whole key stays inside it.
  bloco.resize(kTamanhoBlocoPosicao, ' ');
  if (dados.size() < tamanhoDados) dados.resize(tamanhoDados, '\0');
  if (chave.size() < kTamanhoChaveRascunho) chave.resize(kTamanhoChaveRascunho, ' ');
  std::uint32_t tamanho = tamanhoDados;
  return btrieve_.Chamar(static_cast<std::uint16_t>(operacao), bloco.data(), dados.data(), &tamanho, chave.data(),
                         static_cast<std::uint8_t>(std::min<std::size_t>(tamanhoChave, 255)),
                         static_cast<std::int8_t>(numeroChave));
}

// A call whose key buffer is the 255-space scratch.
std::int16_t clsTavBtr20::ChamarSimples(std::int32_t operacao, std::string& bloco, std::string dados,
                                        std::uint32_t tamanhoDados, std::int32_t numeroChave) {
  std::string chave = Espacos(kTamanhoChaveRascunho);
  return Chamar(operacao, bloco, dados, tamanhoDados, chave, kTamanhoChaveRascunho, numeroChave);
}

bool clsTavBtr20::Concluir(std::int16_t status) {
  erro_.LocalizarErro(status);
  return status == 0;
}

bool clsTavBtr20::Reportar(std::int32_t codigo) {
  erro_.LocalizarErro(codigo);
  return false;
}

// ---- statistics -----------------------------------------------------------------------------
// Stat (15) into a buffer shaped like the file specification; the status is looked up.
std::int16_t clsTavBtr20::LerEstatisticas(std::string& especificacao) {
  especificacao.assign(kTamanhoEspecificacaoArquivo, '\0');
  std::string chave = Espacos(kTamanhoChaveRascunho);
  const std::int16_t status = Chamar(Op::kEstatisticas, bloco_, especificacao, kTamanhoEspecificacaoArquivo, chave,
                                     kTamanhoChaveRascunho, 0);
  erro_.LocalizarErro(status);
  return status;
}

std::string clsTavBtr20::ByteParaHexadecimal(unsigned char v_bByte) {
  return Executar("Erro inesperado ao converter byte para hexadecimal: ", std::string(), [&] {
    char hex[3];
    std::snprintf(hex, sizeof hex, "%02X", v_bByte);
    return std::string(hex);
  });
}

std::int32_t clsTavBtr20::HexadecimalParaLong(const std::string& v_sHexadecimal) {
  return Executar("Erro inesperado ao converter hexadecimal para long: ", std::int32_t{0}, [&] {
    if (v_sHexadecimal.rfind("&H", 0) != 0 || v_sHexadecimal.size() < 3 || v_sHexadecimal.size() > 10)
      throw ErroRuntime(13, "Tipos incompatíveis");
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(std::stoul(v_sHexadecimal.substr(2), nullptr, 16)));
  });
}

std::int32_t clsTavBtr20::QuantidadeRegistros() {
  return Executar("Erro inesperado ao retornar quantidade de registros: ", std::int32_t{0}, [&] {
    std::string e;
    if (LerEstatisticas(e) != 0) return std::int32_t{0};
    // Bytes 6 to 9, most significant first, as the hexadecimal text "&Hhhhhhhhh".
    std::string hex = "&H";
    for (int i = 9; i >= 6; --i) hex += ByteParaHexadecimal(static_cast<unsigned char>(e[i]));
    return HexadecimalParaLong(hex);
  });
}

std::int16_t clsTavBtr20::TamanhoBuffer() {
  return Executar("Erro inesperado ao retornar tamanho do buffer: ", std::int16_t{0}, [&] {
    std::string e;
    return LerEstatisticas(e) != 0 ? std::int16_t{0} : LerInteiro16(e, 0);
  });
}

std::uint8_t clsTavBtr20::QuantidadeChaves() {
  return Executar("Erro inesperado ao retornar quantidade de chaves: ", std::uint8_t{0}, [&] {
    std::string e;
    if (LerEstatisticas(e) != 0) return std::uint8_t{0};
    const std::int16_t chaves = LerInteiro16(e, 4);
    if (chaves < 0 || chaves > 255) throw ErroRuntime(6, "Estouro");
    return static_cast<std::uint8_t>(chaves);
  });
}

// Walks the returned key specifications from the first; a specification whose flags are
// 256 to 259 closes a key. The lengths or the count of key n's segments.
std::int32_t clsTavBtr20::TotalizarChave(const std::string& e, std::uint8_t v_bNumeroChave, bool somarTamanhos) {
  std::int32_t total = 0;
  std::size_t chave = 0;
  for (std::size_t s = 0; s < kMaximoEspecificacoesChave; ++s) {
    const std::size_t inicio = kTamanhoCabecalhoArquivo + s * kTamanhoEspecificacaoChave;
    const std::int16_t posicao = LerInteiro16(e, inicio), tamanho = LerInteiro16(e, inicio + 2),
                       flags = LerInteiro16(e, inicio + 4);
    if (posicao == 0 && tamanho == 0 && flags == 0) break;
    if (chave == v_bNumeroChave) total += somarTamanhos ? tamanho : 1;
    if (FechaChave(flags)) {
      if (chave == v_bNumeroChave) break;
      ++chave;
    }
  }
  return total;
}

std::int16_t clsTavBtr20::TamanhoChave(std::uint8_t v_bNumeroChave) {
  return Executar("Erro inesperado ao retornar tamanho da chave: ", std::int16_t{0}, [&] {
    std::string e;
    if (LerEstatisticas(e) != 0) return std::int16_t{0};
    if (v_bNumeroChave >= LerInteiro16(e, 4)) return static_cast<std::int16_t>(Reportar(kChaveInvalidaTamanho));
    return static_cast<std::int16_t>(TotalizarChave(e, v_bNumeroChave, true));
  });
}

std::uint8_t clsTavBtr20::QuantidadeSegmentos(std::uint8_t v_bNumeroChave) {
  return Executar("Erro inesperado ao retornar quantidade de segmentos da chave: ", std::uint8_t{0}, [&] {
    std::string e;
    if (LerEstatisticas(e) != 0) return std::uint8_t{0};
    if (v_bNumeroChave >= LerInteiro16(e, 4)) return static_cast<std::uint8_t>(Reportar(kChaveInvalidaSegmentos));
    return static_cast<std::uint8_t>(TotalizarChave(e, v_bNumeroChave, false));
  });
}

std::string clsTavBtr20::VersaoBtrieve() {
  return Executar("Erro inesperado ao retornar versão do Btrieve: ", std::string(), [&] {
    std::string versao(kTamanhoVersao, '\0');
    std::string chave = Espacos(kTamanhoChaveRascunho);
    const std::int16_t status =
        Chamar(Op::kVersao, bloco_, versao, kTamanhoVersao, chave, kTamanhoChaveRascunho, 0);
    if (!Concluir(status)) return std::string();
    return std::to_string(static_cast<unsigned char>(versao[0])) + "." +
           std::to_string(static_cast<unsigned char>(versao[2]));
  });
}

bool clsTavBtr20::ArquivoAberto() {
  return Executar("Erro inesperado ao verificar se o arquivo estava aberto: ", false,
                  [&] { return !Aparar(bloco_).empty(); });
}

// ---- creation -------------------------------------------------------------------------------
bool clsTavBtr20::VerificarAntesCriacao(const std::string& v_sArquivo, std::int16_t v_iTamanhoPagina,
                                        int v_iSegmentos, const std::string& v_sDefinicaoChaves) {
  return Executar("Erro inesperado ao verificar antes da criação: ", false, [&] {
    if (LimiteSegmentosExcedido(v_iTamanhoPagina, v_iSegmentos)) return Reportar(kLimiteSegmentos);
    if (v_sDefinicaoChaves.empty() || v_sDefinicaoChaves[0] != '/') return Reportar(kFormatoDefinicao);
    if (v_iSegmentos > kSegmentosPermitidos) return Reportar(kMaximoSegmentos);
    if (v_sArquivo.find(' ') != std::string::npos) return Reportar(kEspacoNomeArquivo);
    return true;
  });
}

bool clsTavBtr20::Criar(const std::string& v_sArquivo, std::int16_t v_iTamanhoRegistro, std::int16_t v_iTamanhoPagina,
                        std::uint8_t v_bNumeroChaves, const std::string& v_sDefinicaoChaves) {
  return Executar("Erro inesperado ao criar arquivo: ", false, [&] {
    const int segmentos = Executar("Erro inesperado ao ler número de segmentos: ", 0,
                                   [&] { return LerNumeroSegmentos(v_sDefinicaoChaves); });
    if (!VerificarAntesCriacao(v_sArquivo, v_iTamanhoPagina, segmentos, v_sDefinicaoChaves)) return false;
    LiberarArquivoAberto();
    bloco_ = Espacos(kTamanhoBlocoPosicao);
    std::string especificacoes;
    Falha falhaChaves;
    const std::int32_t chaves = MontarChaves(v_sDefinicaoChaves, especificacoes, falhaChaves);
    if (chaves == kFalhaMontarChaves) {
      erro_.AdicionarErro(falhaChaves.numero, falhaChaves.descricao);
      return Reportar(kFalhaChaves);
    }
    if (chaves != v_bNumeroChaves) return Reportar(kChavesDiferentes);
    std::string arquivo;
    const bool montado = Executar("Erro inesperado ao montar FileBuf: ", false, [&] {
      arquivo = MontarEspecificacaoArquivo(std::min(v_iTamanhoRegistro, kTamanhoRegistroMaximo), v_iTamanhoPagina,
                                           v_bNumeroChaves, especificacoes);
      return true;
    });
    if (!montado) return false;
    std::string nome = ParaCp1252(v_sArquivo);
    const std::size_t tamanhoNome = nome.size();
    return Concluir(Chamar(Op::kCriar, bloco_, arquivo, kTamanhoEspecificacaoArquivo, nome, tamanhoNome, -1));
  });
}

// ---- opening and closing --------------------------------------------------------------------
bool clsTavBtr20::Abrir(const std::string& v_sArquivo, bool listado) {
  return Executar("Erro inesperado ao abrir arquivo: ", false, [&] {
    if (Aparar(v_sArquivo).empty()) return Reportar(kArquivoNaoInformado);
    if (!listado && !ArquivoListado(arquivos_, v_sArquivo)) return Reportar(kArquivoNaoExiste);
    if (v_sArquivo.find(' ') != std::string::npos) return Reportar(kEspacoAbertura);
    std::string chave = ParaCp1252(v_sArquivo) + '\0';
    const std::size_t tamanhoChave = Aparar(chave).size();
    LiberarArquivoAberto();
    bloco_ = Espacos(kTamanhoBlocoPosicao);
    std::string dados;
    std::uint32_t tamanhoDados = 0;
    if (!Aparar(nomeProprietario_).empty()) {
      dados = ParaCp1252(nomeProprietario_) + '\0';
      tamanhoDados = static_cast<std::uint32_t>(dados.size());
    } else {
      dados = Espacos(kTamanhoChaveRascunho) + '\0';
      tamanhoDados = kTamanhoChaveRascunho;
    }
    return Concluir(Chamar(Op::kAbrir, bloco_, dados, tamanhoDados, chave, tamanhoChave, modoAbertura_));
  });
}

// A new position block would orphan the engine's handle of a file still open here (and,
// for an exclusive open, its lock until the process ends): that file is closed first.
void clsTavBtr20::LiberarArquivoAberto() {
  if (!ArquivoAberto()) return;
  ChamarSimples(Op::kFechar, bloco_, std::string(kTamanhoChaveRascunho, '\0'), kTamanhoChaveRascunho, 0);
  bloco_ = Espacos(kTamanhoBlocoPosicao);
}

bool clsTavBtr20::Fechar() {
  return Executar("Erro inesperado ao fechar arquivo: ", false, [&] {
    if (!ArquivoAberto()) return Reportar(StatusBtrieve::kArquivoNaoAberto);
    const std::int16_t status =
        ChamarSimples(Op::kFechar, bloco_, std::string(kTamanhoChaveRascunho, '\0'), kTamanhoChaveRascunho, 0);
    bloco_ = Espacos(kTamanhoBlocoPosicao);
    return Concluir(status);
  });
}

bool clsTavBtr20::Reiniciar() {
  return Executar("Erro inesperado ao reiniciar o Btrieve: ", false, [&] {
    std::string rascunho = Espacos(kTamanhoBlocoPosicao);
    const std::int16_t status =
        ChamarSimples(Op::kReiniciar, rascunho, Espacos(kTamanhoChaveRascunho), kTamanhoChaveRascunho, 0);
    bloco_ = Espacos(kTamanhoBlocoPosicao);
    return Concluir(status);
  });
}

// ---- records --------------------------------------------------------------------------------
bool clsTavBtr20::Inserir() {
  return Executar("Erro inesperado ao inserir registro: ", false, [&] {
    if (!ArquivoAberto()) return Reportar(StatusBtrieve::kArquivoNaoAberto);
    const auto tamanho = static_cast<std::uint32_t>(std::min(buffer_.size(), kTamanhoDados));
    return Concluir(ChamarSimples(Op::kInserir, bloco_, Alinhado(buffer_, kTamanhoDados), tamanho, numeroChave_));
  });
}

bool clsTavBtr20::Excluir() {
  return Executar("Erro inesperado ao excluir registro: ", false, [&] {
    if (!ArquivoAberto()) return Reportar(StatusBtrieve::kArquivoNaoAberto);
    const auto tamanho = static_cast<std::uint32_t>(std::min(buffer_.size(), kTamanhoDados));
    return Concluir(ChamarSimples(Op::kExcluir, bloco_, std::string(), tamanho, numeroChave_));
  });
}

bool clsTavBtr20::Desbloquear() {
  return Executar("Erro inesperado ao desbloquear: ", false, [&] {
    return Concluir(ChamarSimples(Op::kDesbloquear, bloco_, Espacos(kTamanhoChaveRascunho), kTamanhoChaveRascunho, 0));
  });
}

bool clsTavBtr20::Alterar() {
  return Executar("Erro inesperado ao alterar registro: ", false, [&] {
    if (!ArquivoAberto()) return Reportar(StatusBtrieve::kArquivoNaoAberto);
    return AlterarComRepeticao();
  });
}

// Update; a record or file lock (84, 85) is retried at once, up to 21 times.
bool clsTavBtr20::AlterarComRepeticao() {
  std::string dados = Alinhado(buffer_, kTamanhoDados);
  const auto tamanhoDados = static_cast<std::uint32_t>(std::min(buffer_.size(), kTamanhoDados));
  std::string chave = chave_;
  const std::size_t tamanhoChave = chave_.size();
  auto bloqueado = [](std::int16_t s) {
    return s == StatusBtrieve::kRegistroBloqueado || s == StatusBtrieve::kArquivoBloqueado;
  };
  std::int16_t status = Chamar(Op::kAlterar, bloco_, dados, tamanhoDados, chave, tamanhoChave, numeroChave_);
  for (int repeticoes = 0; bloqueado(status);) {
    status = Chamar(Op::kAlterar, bloco_, dados, tamanhoDados, chave, tamanhoChave, numeroChave_);
    if (status == 0) break;
    if (++repeticoes > kRepeticoesAlterar) return Reportar(kRegistroBloqueado);
  }
  return Concluir(status);
}

bool clsTavBtr20::Ler(std::int32_t v_enOperacao) {
  return Executar("Erro inesperado ao ler registro: ", false, [&] {
    if (!ArquivoAberto()) {
      buffer_.clear();
      chave_.clear();
      return Reportar(StatusBtrieve::kArquivoNaoAberto);
    }
    std::int32_t operacao = v_enOperacao;
    if (espera_ == 100 || espera_ == 200 || espera_ == 300 || espera_ == 400) operacao += espera_;
    std::string dados = Espacos(kTamanhoDados);
    std::string chave = Alinhado(chave_, kTamanhoChaveRascunho);
    const std::int16_t status =
        Chamar(operacao, bloco_, dados, kTamanhoDados, chave, kTamanhoChaveRascunho, numeroChave_);
    if (status == 0) {
      buffer_ = dados.substr(0, kTamanhoDados);
      chave_ = chave.substr(0, kTamanhoChaveRascunho);
    } else {
      buffer_.clear();
      chave_.clear();
    }
    return Concluir(status);
  });
}

// ---- transactions ---------------------------------------------------------------------------
bool clsTavBtr20::IniciarTransacao(std::int32_t v_enModoTransacao) {
  return Executar("Erro inesperado ao iniciar transação: ", false, [&] {
    const std::int32_t operacao = v_enModoTransacao == Op::kModoTransacaoExclusiva ? Op::kIniciarTransacao
                                                                                   : Op::kIniciarTransacaoConcorrente;
    std::string rascunho = Espacos(kTamanhoBlocoPosicao);
    return Concluir(ChamarSimples(operacao, rascunho, std::string(), kTamanhoChaveRascunho, 0));
  });
}

bool clsTavBtr20::AbortarTransacao() {
  return Executar("Erro inesperado ao abortar transação: ", false, [&] {
    std::string rascunho = Espacos(kTamanhoBlocoPosicao);
    return Concluir(ChamarSimples(Op::kAbortarTransacao, rascunho, std::string(), kTamanhoChaveRascunho, 0));
  });
}

bool clsTavBtr20::FinalizarTransacao() {
  return Executar("Erro inesperado ao finalizar transação: ", false, [&] {
    std::string rascunho = Espacos(kTamanhoBlocoPosicao);
    return Concluir(ChamarSimples(Op::kFinalizarTransacao, rascunho, std::string(), kTamanhoChaveRascunho, 0));
  });
}

// ---- supplemental indexes and owner ---------------------------------------------------------
bool clsTavBtr20::CriarIndice(std::uint8_t v_bChave, const std::string& v_sDefinicaoChaves) {
  return Executar("Erro inesperado ao criar índice: ", false, [&] {
    if (v_sDefinicaoChaves.empty() || v_sDefinicaoChaves[0] != '/') return Reportar(kFormatoIndice);
    if (LerNumeroSegmentos(v_sDefinicaoChaves) > kSegmentosPermitidos) return Reportar(kMaximoSegmentosIndice);
    if (!ArquivoAberto()) return Reportar(StatusBtrieve::kArquivoNaoAberto);
    std::string especificacoes;
    Falha falhaChaves;
    if (MontarChaves(v_sDefinicaoChaves, especificacoes, falhaChaves) == kFalhaMontarChaves) {
      erro_.AdicionarErro(falhaChaves.numero, falhaChaves.descricao);
      return Reportar(kFalhaChavesIndice);
    }
    if (v_bChave > 127) throw ErroRuntime(5, "Chamada de procedimento ou argumento inválido");
    std::string chave(1, static_cast<char>(v_bChave + 128));
    return Concluir(
        Chamar(Op::kCriarIndice, bloco_, especificacoes, kTamanhoEspecificacoesChaves, chave, 1, v_bChave));
  });
}

bool clsTavBtr20::ExcluirIndice(std::uint8_t v_bChave) {
  return Executar("Erro inesperado ao excluir índice: ", false, [&] {
    return Concluir(ChamarSimples(Op::kExcluirIndice, bloco_, EspecificacoesChavesVazias(),
                                  kTamanhoEspecificacoesChaves, v_bChave));
  });
}

bool clsTavBtr20::DefinirProprietario(const std::string& v_sNomeProprietario, std::int32_t v_enModoBloqueio) {
  return Executar("Erro inesperado ao definir proprietário: ", false, [&] {
    if (!ArquivoAberto()) return Reportar(StatusBtrieve::kArquivoNaoAberto);
    const std::string nome = ParaCp1252(v_sNomeProprietario);
    if (nome.size() > kTamanhoNomeProprietario) return Reportar(kProprietarioLongo);
    std::string dados = Alinhado(nome + '\0', kTamanhoDados);
    std::string chave = nome + '\0';
    return Concluir(Chamar(Op::kDefinirProprietario, bloco_, dados, static_cast<std::uint32_t>(nome.size() + 1), chave,
                           0, v_enModoBloqueio));
  });
}

bool clsTavBtr20::RemoverProprietario() {
  return Executar("Erro inesperado ao remover proprietário: ", false, [&] {
    if (!ArquivoAberto()) return Reportar(StatusBtrieve::kArquivoNaoAberto);
    std::string dados, chave;
    return Concluir(Chamar(Op::kRemoverProprietario, bloco_, dados, 0, chave, 0, 0));
  });
}

}  // namespace tavoran
